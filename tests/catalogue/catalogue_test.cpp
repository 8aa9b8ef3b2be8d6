// The catalogue table against the rules every entry must keep: what a user sees on each page,
// which file each button writes, and that every template it names is really in the program.

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "store/TemplateStore.h"

namespace korventa {
namespace {

std::vector<const CatalogueEntry*> EntriesOn(Page page) {
    std::vector<const CatalogueEntry*> onPage;
    for (const auto& e : CatalogueEntries())
        if (e.page == page) onPage.push_back(&e);
    return onPage;
}

constexpr Page kAllPages[] = {Page::TabSheet1, Page::TabSheet2, Page::TabSheet3, Page::TabSheet4, Page::TabSheet6};

TEST(Catalogue, PagesHoldTheirButtonsInTabOrder) {
    const std::map<Page, std::size_t> expectedCounts = {
        {Page::TabSheet1, 4}, {Page::TabSheet2, 42}, {Page::TabSheet3, 12}, {Page::TabSheet4, 7}, {Page::TabSheet6, 20}};
    EXPECT_EQ(85u, CatalogueEntries().size());
    // Entries come page by page, never returning to an earlier page.
    for (std::size_t i = 1; i < CatalogueEntries().size(); ++i)
        EXPECT_LE(static_cast<int>(CatalogueEntries()[i - 1].page), static_cast<int>(CatalogueEntries()[i].page)) << i;
    for (Page page : kAllPages) {
        const auto onPage = EntriesOn(page);
        EXPECT_EQ(expectedCounts.at(page), onPage.size());
        for (std::size_t i = 0; i < onPage.size(); ++i) EXPECT_EQ(static_cast<int>(i), onPage[i]->tabOrder) << onPage[i]->controlName;
    }
}

TEST(Catalogue, NamesCaptionsTemplatesAndFilesAreUnique) {
    std::set<std::wstring> controls, captions, resources, files;
    for (const auto& e : CatalogueEntries()) {
        SCOPED_TRACE(testing::Message() << std::wstring(e.controlName).size());
        ASSERT_NE(nullptr, e.resourceName);
        ASSERT_NE(nullptr, e.targetFileName);
        EXPECT_TRUE(controls.insert(e.controlName).second);
        EXPECT_TRUE(captions.insert(e.caption).second);
        EXPECT_TRUE(resources.insert(e.resourceName).second);
        EXPECT_TRUE(files.insert(e.targetFileName).second);
    }
    // Every workbook and every document but the second edition of the policy text.
    EXPECT_EQ(85u, resources.size());
    EXPECT_EQ(0u, resources.count(L"DOC79"));
}

// What kind of Office file a template is, read from its own compound-file streams.
std::wstring MainStreamOf(const TemplateImage& image) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, image.Size());
    std::memcpy(GlobalLock(memory), image.Data(), image.Size());
    GlobalUnlock(memory);
    ILockBytes* bytes = nullptr;
    IStorage* storage = nullptr;
    std::wstring kind;
    if (SUCCEEDED(CreateILockBytesOnHGlobal(memory, TRUE, &bytes)) &&
        SUCCEEDED(StgOpenStorageOnILockBytes(bytes, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage))) {
        for (const wchar_t* name : {L"Workbook", L"WordDocument"}) {
            IStream* stream = nullptr;
            if (SUCCEEDED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream))) {
                stream->Release();
                kind = name;
                break;
            }
        }
        storage->Release();
    }
    if (bytes) bytes->Release();
    else GlobalFree(memory);
    return kind;
}

std::wstring ExtensionOf(const std::wstring& fileName) { return fileName.substr(fileName.rfind(L'.')); }

TEST(Catalogue, ExtensionFollowsTheTemplatesOwnFormat) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    int documents = 0, workbooks = 0;
    for (const auto& e : CatalogueEntries()) {
        const std::wstring kind = MainStreamOf(TemplateImage(e.resourceName));
        const std::wstring ext = ExtensionOf(e.targetFileName);
        if (kind == L"WordDocument") {
            EXPECT_EQ(L".doc", ext) << e.targetFileName;
            ++documents;
        } else {
            EXPECT_EQ(L"Workbook", kind) << e.resourceName;
            EXPECT_EQ(L".xls", ext) << e.targetFileName;
            ++workbooks;
        }
        if (e.page == Page::TabSheet1) {
            EXPECT_EQ(L".doc", ext);
        }
    }
    EXPECT_EQ(4, documents);
    EXPECT_EQ(81, workbooks);
    CoUninitialize();
}

bool Overlap(const DesignRect& a, const DesignRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

TEST(Catalogue, ButtonsNeitherOverlapNorReachThePicture) {
    const DesignRect picture{392, 16, 161, 225};
    const std::set<Page> pagesWithPicture = {Page::TabSheet1, Page::TabSheet3, Page::TabSheet4};
    for (Page page : kAllPages) {
        const auto onPage = EntriesOn(page);
        for (std::size_t i = 0; i < onPage.size(); ++i) {
            EXPECT_EQ(25, onPage[i]->bounds.height);
            if (pagesWithPicture.count(page)) {
                EXPECT_FALSE(Overlap(onPage[i]->bounds, picture)) << onPage[i]->controlName;
            }
            for (std::size_t j = i + 1; j < onPage.size(); ++j)
                EXPECT_FALSE(Overlap(onPage[i]->bounds, onPage[j]->bounds)) << onPage[i]->controlName << " " << onPage[j]->controlName;
        }
    }
}

// Letters are Cyrillic throughout, so a Latin look-alike ("A" for "А") cannot slip in and
// give a file name that sorts or searches differently from the register's own number.
TEST(Catalogue, TextsUseCyrillicLettersOnly) {
    for (const auto& e : CatalogueEntries()) {
        const std::wstring fileName = e.targetFileName;
        const std::wstring texts[] = {e.caption, fileName.substr(0, fileName.size() - ExtensionOf(fileName).size())};
        for (const auto& text : texts) {
            for (wchar_t c : text) {
                EXPECT_FALSE((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) << e.controlName;
                EXPECT_EQ(std::wstring::npos, std::wstring(L"\\/:*?\"<>|&").find(c)) << e.controlName;
            }
        }
    }
}

struct NotableEntry {
    const wchar_t* control;
    const wchar_t* caption;
    const wchar_t* resource;
    const wchar_t* path;
};

TEST(Catalogue, EntriesWhoseFileIsNotTheirCaption) {
    const NotableEntry cases[] = {
        {L"Button81", L"НР 1.39.1", L"DOC35", L"c:\\Korventa\\НР 1.39.2.xls"},
        {L"Button82", L"НР 1.39.2", L"DOC34", L"c:\\Korventa\\НР 1.39.1.xls"},
        {L"Button9", L"НР 1.02.2 ", L"DOC3", L"c:\\Korventa\\НР 1.02.2.xls"},
        {L"Button20", L"1.14.3 и 1.35", L"DOC15", L"c:\\Korventa\\НР 1.14.3 и 1.35.xls"},
        {L"Button39", L"НР 200.00, 200.01, 200.03", L"DOC82", L"c:\\Korventa\\НР 200.00.xls"},
        {L"Button43", L"НР Зем. налог", L"DOC80", L"c:\\Korventa\\НР Зем. налог 700.1.xls"},
        {L"Button35", L"НР № 2.10", L"DOC64", L"c:\\Korventa\\НР 2.10 ФНО 300.xls"},
        {L"Button86", L"НР 1.46.11", L"DOC39", L"c:\\Korventa\\НР 1.46.11, 100.12.xls"},
        {L"Button1", L"Приказ", L"DOC78", L"c:\\Korventa\\Приказ.doc"},
    };
    for (const auto& c : cases) {
        const CatalogueEntry* found = nullptr;
        for (const auto& e : CatalogueEntries())
            if (std::wstring(e.controlName) == c.control) found = &e;
        ASSERT_NE(nullptr, found) << c.control;
        EXPECT_EQ(std::wstring(c.caption), found->caption);
        EXPECT_EQ(std::wstring(c.resource), found->resourceName);
        EXPECT_EQ(std::wstring(c.path), TargetPath(*found));
    }
}

TEST(Catalogue, FocusOrderFollowsTheTableNotTheColumns) {
    const auto second = EntriesOn(Page::TabSheet2);
    // "НР 1.04" stands fifth in the first column but is the eighth stop; "НР 1.03" comes after "НР 1.23".
    EXPECT_EQ(std::wstring(L"Button14"), second[7]->controlName);
    EXPECT_EQ(std::wstring(L"Button58"), second[22]->controlName);
    EXPECT_EQ(std::wstring(L"Button3"), second[23]->controlName);
    EXPECT_EQ(std::wstring(L"Button38"), EntriesOn(Page::TabSheet4).front()->controlName);
}

}  // namespace
}  // namespace korventa

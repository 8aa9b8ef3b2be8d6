// The store as the program sees it: the templates linked into this test program through the
// same resource script as Korventa.exe, compared with the files they were built from.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "store/TemplateStore.h"
#include "tests/TestSupport.h"
#include "ui/Exceptions.h"

namespace korventa {
namespace {

constexpr unsigned char kCompoundFileSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

std::wstring TemplateName(int number) { return L"DOC" + std::to_wstring(number); }

std::vector<std::byte> AssetBytes(int number) {
    const bool document = number >= 75 && number <= 79;
    const std::wstring path = test::HostPath(KORVENTA_TEMPLATE_DIR) + L"\\" + TemplateName(number) +
                              (document ? L".doc" : L".xls");
    auto bytes = test::ReadWholeFile(path);
    EXPECT_TRUE(bytes) << "cannot read the asset for " << number;
    return bytes.value_or(std::vector<std::byte>{});
}

bool SameBytes(std::span<const std::byte> a, const std::vector<std::byte>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

TEST(TemplateStore, EveryTemplateOpensWithTheBytesOfItsFile) {
    for (int n = 1; n <= 86; ++n) {
        SCOPED_TRACE(n);
        TemplateImage image(TemplateName(n));
        const auto expected = AssetBytes(n);
        ASSERT_GE(image.Size(), sizeof kCompoundFileSignature);
        EXPECT_EQ(0, std::memcmp(image.Data(), kCompoundFileSignature, sizeof kCompoundFileSignature));
        EXPECT_EQ(0u, image.Size() % 512);
        EXPECT_TRUE(SameBytes(image.Bytes(), expected)) << "size " << image.Size() << " vs " << expected.size();
    }
}

TEST(TemplateStore, ImageLiesInTheLoadedProgramWithoutACopy) {
    TemplateImage image(L"DOC1");
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_NE(0u, VirtualQuery(image.Data(), &info, sizeof info));
    EXPECT_EQ(GetModuleHandleW(nullptr), info.AllocationBase);
    EXPECT_EQ(static_cast<DWORD>(MEM_IMAGE), info.Type);
}

struct MissingCase {
    const wchar_t* name;
    const wchar_t* type;
    const wchar_t* message;
};

TEST(TemplateStore, NamesOutsideTheStoreFailWithTheNameAsGiven) {
    const MissingCase cases[] = {
        {L"DOC0", L"FILE", L"Resource DOC0 not found"},
        {L"DOC87", L"FILE", L"Resource DOC87 not found"},
        {L"DOC01", L"FILE", L"Resource DOC01 not found"},
        {L"", L"FILE", L"Resource  not found"},
        {L"COVER", L"FILE", L"Resource COVER not found"},
        {L"НР 1.01", L"FILE", L"Resource НР 1.01 not found"},
        {L"DOC1", L"RCDATA", L"Resource DOC1 not found"},
        {L"DOC1", L"FILES", L"Resource DOC1 not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "name '" << std::wstring(c.name).size() << "' chars");
        try {
            TemplateImage image(c.name, c.type);
            ADD_FAILURE() << "opened a template that is not in the store";
        } catch (const EResNotFound& e) {
            EXPECT_EQ(std::wstring(c.message), e.Message());
        }
        // The store is unaffected: a valid name still opens.
        EXPECT_GT(TemplateImage(L"DOC2").Size(), 0u);
    }
}

TEST(TemplateStore, TemplatesNoButtonNeedsStillOpen) {
    for (const wchar_t* name : {L"DOC34", L"DOC79"}) {
        TemplateImage image(name);
        EXPECT_GT(image.Size(), 0u);
    }
}

TEST(TemplateStore, TwoOpensOfOneNameAreIndependent) {
    auto first = std::make_unique<TemplateImage>(L"DOC77");
    TemplateImage second(L"DOC77");
    EXPECT_TRUE(SameBytes(first->Bytes(), std::vector<std::byte>(second.Bytes().begin(), second.Bytes().end())));
    const std::vector<std::byte> before(second.Bytes().begin(), second.Bytes().end());
    first.reset();
    EXPECT_TRUE(SameBytes(second.Bytes(), before));
    TemplateImage reopened(L"DOC77");
    EXPECT_TRUE(SameBytes(reopened.Bytes(), before));
}

TEST(TemplateStore, WritingIntoATemplateIsRefusedAndChangesNothing) {
    TemplateImage image(L"DOC5");
    const std::vector<std::byte> before(image.Bytes().begin(), image.Bytes().end());
    const char junk[16] = {};
    try {
        image.Write(junk, sizeof junk);
        ADD_FAILURE() << "write accepted";
    } catch (const EStreamError& e) {
        EXPECT_EQ(std::wstring(L"Can't write to a read-only resource stream"), e.Message());
    }
    EXPECT_TRUE(SameBytes(image.Bytes(), before));
    EXPECT_TRUE(SameBytes(TemplateImage(L"DOC5").Bytes(), before));
}

// The shipped program itself, opened as data: every template in it byte for byte.
TEST(TemplateStore, KorventaExeCarriesEveryTemplate) {
    const std::wstring exe = test::HostPath(KORVENTA_EXE);
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(nullptr, module) << "cannot load " << GetLastError();
    for (int n = 1; n <= 86; ++n) {
        SCOPED_TRACE(n);
        HRSRC found = FindResourceW(module, TemplateName(n).c_str(), L"FILE");
        ASSERT_NE(nullptr, found);
        const auto* data = static_cast<const std::byte*>(LockResource(LoadResource(module, found)));
        const std::span<const std::byte> bytes(data, SizeofResource(module, found));
        EXPECT_TRUE(SameBytes(bytes, AssetBytes(n)));
    }
    FreeLibrary(module);
}

}  // namespace
}  // namespace korventa

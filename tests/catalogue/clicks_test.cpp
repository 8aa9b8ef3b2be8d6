// The real program doing its whole job: every button clicked in the running Korventa.exe,
// with a real application registered for .xls and .doc that logs what the shell asks of it.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "store/TemplateStore.h"
#include "tests/app/ProgramTestSupport.h"
#include "tests/delivery/DeliveryTestSupport.h"

namespace korventa {
namespace {

using namespace test;

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

std::vector<std::wstring> Sorted(std::vector<std::wstring> items) {
    std::sort(items.begin(), items.end());
    return items;
}

class CatalogueClicks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RemoveTree(kWorkingFolder));
        ASSERT_TRUE(association_.Registered());
        ASSERT_TRUE(program_.Started());
        window_ = program_.WaitForMainWindow();
        ASSERT_NE(nullptr, window_);
    }
    void TearDown() override {
        if (window_) {
            EXPECT_EQ(std::optional<DWORD>(0), program_.ExitCodeAfterClose(window_));
        }
        RemoveTree(kWorkingFolder);
    }

    // Clicks the button as the user's mouse would; returns once the click has been handled,
    // or after a few seconds when an error box holds the click up until it is dismissed.
    void Click(const wchar_t* caption) {
        const HWND button = FindButton(window_, caption);
        ASSERT_NE(nullptr, button) << "no button " << std::wstring(caption).size();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 3000, &result);
    }

    ShellLog shell_;  // before the program starts: it inherits the log's name
    ScopedAssociation association_{HostPath(KORVENTA_SHELL_RECORDER)};
    ProgramRun program_{SW_SHOWNORMAL};
    HWND window_ = nullptr;
};

TEST_F(CatalogueClicks, EveryButtonWritesItsTemplateAndAsksTheShellOnce) {
    std::vector<std::wstring> expectedFiles, expectedRequests;
    for (const auto& entry : CatalogueEntries()) {
        Click(entry.caption);
        ASSERT_EQ(nullptr, FindErrorBox(program_.Id())) << entry.controlName;
        expectedFiles.push_back(FileNameOf(TargetPath(entry)));
        expectedRequests.push_back(ShellRequestFor(TargetPath(entry)));
    }
    EXPECT_EQ(85u, Sorted(expectedFiles).size());
    EXPECT_EQ(Sorted(expectedFiles), FolderListing()) << "one file per button, nothing else";
    // The applications start asynchronously, so the order of their requests is not fixed.
    EXPECT_EQ(Sorted(expectedRequests), Sorted(shell_.Requests(expectedRequests.size())));
    for (const auto& entry : CatalogueEntries()) {
        const TemplateImage image(entry.resourceName);
        const auto written = ReadWholeFile(TargetPath(entry));
        ASSERT_TRUE(written) << entry.controlName;
        EXPECT_TRUE(std::equal(image.Bytes().begin(), image.Bytes().end(), written->begin(), written->end()))
            << entry.controlName;
    }
}

// The spreadsheet still has yesterday's workbook open: the click says so, touches nothing,
// asks the shell nothing, and the program goes on; once the workbook is closed it works.
TEST_F(CatalogueClicks, AFileHeldOpenIsReportedAndTheProgramRunsOn) {
    const std::wstring path = L"c:\\Korventa\\НР 1.01.xls";
    const Bytes edited = TextBytes("the accountant's own figures");
    ASSERT_TRUE(WriteWholeFile(path, edited));
    {
        FileHolder spreadsheet(path);
        ASSERT_TRUE(spreadsheet.Holding());
        for (int attempt = 1; attempt <= 2; ++attempt) {
            SCOPED_TRACE(attempt);
            Click(L"НР 1.01");
            HWND box = nullptr;
            ASSERT_TRUE(WaitUntil([&] { return (box = FindErrorBox(program_.Id())) != nullptr; }));
            const ErrorBox shown = ReadErrorBox(box);
            EXPECT_EQ(L"Cannot create file c:\\Korventa\\НР 1.01.xls.", shown.text);
            EXPECT_EQ(L"Korventa", shown.caption);
            EXPECT_FALSE(shown.ownerEnabled) << "the main window takes no input while the box is up";
            ASSERT_TRUE(DismissErrorBox(box));
            EXPECT_TRUE(program_.RespondsTo(window_));
        }
    }
    EXPECT_EQ(edited, ReadWholeFile(path).value_or(Bytes{}));
    EXPECT_TRUE(shell_.Requests(0).empty());

    Click(L"НР 1.01");
    EXPECT_EQ(nullptr, FindErrorBox(program_.Id()));
    EXPECT_EQ(std::vector<std::wstring>{ShellRequestFor(path)}, shell_.Requests(1));
    const auto listing = FolderListing();
    EXPECT_EQ(2u, listing.size()) << "the new copy and the kept edited one";
}

}  // namespace
}  // namespace korventa

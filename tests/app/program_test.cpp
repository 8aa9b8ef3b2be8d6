// The real Korventa.exe started as a child process: start-up whatever the state of the
// working folder, the start-up show request, and the exit code.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "app/MainFormLayout.h"
#include "delivery/WorkingFolder.h"
#include "tests/TestSupport.h"
#include "tests/app/ProgramTestSupport.h"

namespace korventa {
namespace {

using namespace test;

// Moves whatever stands at the working folder aside for the test and puts it back after.
class WorkingFolderAside {
public:
    WorkingFolderAside() {
        if (GetFileAttributesW(kWorkingFolder) != INVALID_FILE_ATTRIBUTES)
            saved_ = MoveFileW(kWorkingFolder, kSavedPath) != FALSE;
    }
    ~WorkingFolderAside() {
        Clear();
        if (saved_) MoveFileW(kSavedPath, kWorkingFolder);
    }
    static void Clear() {
        RemoveDirectoryW(kWorkingFolder);  // only ever empty here: the program writes nothing at start
        DeleteFileW(kWorkingFolder);
    }

private:
    static constexpr wchar_t kSavedPath[] = L"c:\\Korventa.program-test-saved";
    bool saved_ = false;
};

DWORD Attributes() { return GetFileAttributesW(kWorkingFolder); }

enum class FolderState { Present, Absent, FileInItsPlace };

class StartUp : public ::testing::TestWithParam<FolderState> {};

TEST_P(StartUp, OpensTheWindowWithoutAMessageAndEndsWithCodeZero) {
    WorkingFolderAside aside;
    switch (GetParam()) {
    case FolderState::Present:
        ASSERT_TRUE(CreateDirectoryW(kWorkingFolder, nullptr));
        break;
    case FolderState::Absent:
        break;
    case FolderState::FileInItsPlace: {
        HANDLE file = CreateFileW(kWorkingFolder, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        break;
    }
    }

    ProgramRun run;
    ASSERT_TRUE(run.Started()) << "Korventa.exe did not start";
    const HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "the main window did not appear";
    ASSERT_TRUE(run.RespondsTo(window));
    EXPECT_EQ(FindErrorBox(run.Id()), nullptr) << "no message at start-up";
    EXPECT_EQ(WindowText(window), L"Корвента");
    EXPECT_NE(FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr), nullptr);

    switch (GetParam()) {
    case FolderState::Present:
    case FolderState::Absent:
        EXPECT_NE(Attributes(), INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(Attributes() & FILE_ATTRIBUTE_DIRECTORY) << "the working folder exists from start-up on";
        break;
    case FolderState::FileInItsPlace:
        EXPECT_FALSE(Attributes() & FILE_ATTRIBUTE_DIRECTORY) << "the file in the way is left alone";
        break;
    }
    EXPECT_EQ(run.ExitCodeAfterClose(window), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(WorkingFolder, StartUp,
                         ::testing::Values(FolderState::Present, FolderState::Absent, FolderState::FileInItsPlace),
                         [](const auto& info) {
                             switch (info.param) {
                             case FolderState::Present:
                                 return "Present";
                             case FolderState::Absent:
                                 return "Absent";
                             default:
                                 return "FileInItsPlace";
                             }
                         });


TEST(Program, ShowsItsWindowAtTheDesignedPlaceWithEveryButtonFindableByCaption) {
    ProgramRun run(SW_SHOWNORMAL);
    const HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 556);
    EXPECT_EQ(outer.top, 404);
    for (const wchar_t* caption : {L"Приказ", L"НР 1.01", L"НР 1.02.2 ", L"НР № 2.10", L"НР Зем. налог", L"НР 1.10.18"})
        EXPECT_NE(FindButton(window, caption), nullptr) << std::wstring(caption).size();
    EXPECT_EQ(run.ExitCodeAfterClose(window), std::optional<DWORD>(0));
}

TEST(Program, StartedMaximisedKeepsItsLayoutAtTheTopLeft) {
    ProgramRun run(SW_SHOWMAXIMIZED);
    const HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(run.RespondsTo(window));
    EXPECT_TRUE(IsZoomed(window));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT covered{};
    IntersectRect(&covered, &client, &monitor.rcWork);
    EXPECT_GE(covered.right - covered.left, (monitor.rcWork.right - monitor.rcWork.left) * 9 / 10)
        << "fills the work area";
    EXPECT_GE(covered.bottom - covered.top, (monitor.rcWork.bottom - monitor.rcWork.top) * 8 / 10);
    const HWND tabs = FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
    ASSERT_NE(tabs, nullptr);
    RECT rect{};
    GetWindowRect(tabs, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 8);
    EXPECT_EQ(rect.top, 8);
    EXPECT_EQ(rect.right - rect.left, 577);
    EXPECT_EQ(rect.bottom - rect.top, 337);
    EXPECT_EQ(run.ExitCodeAfterClose(window), std::optional<DWORD>(0));
}

TEST(Program, StartedMinimisedWithoutActivationStaysMinimised) {
    ProgramRun run(SW_SHOWMINNOACTIVE);
    const HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(run.RespondsTo(window));
    EXPECT_TRUE(IsIconic(window));
    EXPECT_NE(GetForegroundWindow(), window) << "not activated";
    EXPECT_EQ(run.ExitCodeAfterClose(window), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace korventa

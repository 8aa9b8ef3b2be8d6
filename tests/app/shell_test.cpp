// The application object and the start-up sequence: the title and full-stop rules, the
// event loop that shows what escapes an event and runs on, and a start-up that fails.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "app/MainForm.h"
#include "app/StartUp.h"
#include "tests/app/ShellTestSupport.h"
#include "ui/Application.h"
#include "ui/Exceptions.h"
#include "ui/Form.h"

namespace korventa {
namespace {

using namespace test;

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstDotWithAllButTheFirstCharacterLowerCased) {
    const struct {
        const wchar_t* path;
        const wchar_t* title;
    } cases[] = {
        {L"C:\\Program Files\\Korventa\\Korventa.exe", L"Korventa"},
        {L"C:\\KORVENTA.EXE", L"Korventa"},
        {L"c:\\korventa.exe", L"korventa"},
        {L"D:\\Учёт\\КОРВЕНТА.exe", L"Корвента"},
        {L"D:\\Учёт\\ЁЛКА ДЛЯ ВСЕХ.exe", L"Ёлка для всех"},
        {L"Z:\\a.b\\Setup.Tool.v2.exe", L"Setup"},   // dots in the folder do not count
        {L"C:\\NoExtension", L"Noextension"},
        {L"C:\\x\\\U00010400\U00010400.exe", L"\U00010400\U00010428"},  // a surrogate pair is one character
        {L"C:\\x\\.hidden.exe", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(ui::ApplicationTitle(c.path), c.title) << c.path;
}

TEST(ErrorBoxText, GetsAFullStopAfterEveryCharacterAboveTheFullStop) {
    const struct {
        const wchar_t* message;
        const wchar_t* shown;
    } cases[] = {
        {L"Cannot create file c:\\Korventa\\НР 1.01.xls", L"Cannot create file c:\\Korventa\\НР 1.01.xls."},
        {L"Stream write error", L"Stream write error."},
        {L"Ошибка записи", L"Ошибка записи."},
        {L"Resource DOC1", L"Resource DOC1."},
        {L"code 7", L"code 7."},
        {L"a/", L"a/."},
        {L"a:", L"a:."},
        {L"a;", L"a;."},
        {L"Why?", L"Why?."},
        {L"[1]", L"[1]."},
        {L"a>", L"a>."},
        {L"smile \U0001F600", L"smile \U0001F600."},
        {L"Done.", L"Done."},
        {L"Stop!", L"Stop!"},
        {L"list,", L"list,"},
        {L"range-", L"range-"},
        {L"(note)", L"(note)"},
        {L"quoted'", L"quoted'"},
        {L"trailing ", L"trailing "},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(ui::ErrorBoxText(c.message), c.shown) << c.message;
}

// A form whose events throw what the test asks for.
constexpr UINT kThrow = WM_APP + 1;   // wParam: what to throw
constexpr UINT kMarker = WM_APP + 2;  // records whether an error box is up at that moment

enum Throw : WPARAM { kCreateError, kWriteError, kAbort, kForeign };

class ThrowingForm : public ui::Form {
public:
    ThrowingForm()
        : ui::Form({L"KorventaTestThrowingForm", L"Test", {100, 100}, {200, 100}, WS_OVERLAPPEDWINDOW,
                    {L"MS Sans Serif", -11}}) {}

    std::atomic<int> markers{0};
    std::atomic<bool> boxUpAtMarker{false};

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrow) {
            switch (wParam) {
            case kCreateError:
                throw EFCreateError(L"c:\\Korventa\\НР 1.01.xls");
            case kWriteError:
                throw EWriteError();
            case kAbort:
                throw EAbort();
            default:
                throw std::runtime_error("not one of ours");
            }
        }
        if (message == kMarker) {
            if (FindErrorBox(GetCurrentProcessId())) boxUpAtMarker = true;
            ++markers;
            return 0;
        }
        return ui::Form::HandleMessage(message, wParam, lParam);
    }
};

// Drives the event loop from another thread: posts one event at a time and reads the
// box that each brings up, so that boxes come one after the other, not nested.
struct EventScript {
    std::vector<ErrorBox> boxes;
    std::vector<std::wstring> failures;
};

EventScript Drive(HWND form, ThrowingForm& object, const std::vector<Throw>& events) {
    EventScript script;
    const DWORD self = GetCurrentProcessId();
    int markersSeen = 0;
    for (Throw event : events) {
        PostMessageW(form, kThrow, event, 0);
        PostMessageW(form, kMarker, 0, 0);
        const bool boxExpected = event != kAbort;
        HWND box = nullptr;
        const bool settled = WaitUntil([&] {
            box = FindErrorBox(self);
            return box || object.markers > markersSeen;
        });
        if (!settled) {
            script.failures.push_back(L"neither a box nor the next event came");
            break;
        }
        if (box) {
            script.boxes.push_back(ReadErrorBox(box));
            if (!DismissErrorBox(box)) script.failures.push_back(L"the box did not close");
        }
        if (!WaitUntil([&] { return object.markers > markersSeen; }))
            script.failures.push_back(L"the event loop did not go on after the box");
        ++markersSeen;
        if (!boxExpected && box) script.failures.push_back(L"a box for EAbort");
    }
    PostMessageW(form, WM_CLOSE, 0, 0);
    return script;
}

TEST(EventLoop, ShowsEachEscapingExceptionInItsOwnBoxAndRunsOn) {
    ui::Application application(GetModuleHandleW(nullptr));
    application.CreateForm([] { return std::make_unique<ThrowingForm>(); });
    auto& form = static_cast<ThrowingForm&>(*application.MainForm());
    const HWND window = form.Handle();

    EventScript script;
    std::thread driver([&] { script = Drive(window, form, {kCreateError, kWriteError, kAbort, kForeign}); });
    application.Run(SW_SHOWNORMAL);
    driver.join();

    for (const auto& failure : script.failures) ADD_FAILURE() << std::string(failure.begin(), failure.end());
    ASSERT_EQ(script.boxes.size(), 3u) << "EAbort shows nothing; every other exception one box";
    EXPECT_EQ(script.boxes[0].text, L"Cannot create file c:\\Korventa\\НР 1.01.xls.");
    EXPECT_EQ(script.boxes[1].text, L"Stream write error.");
    EXPECT_EQ(script.boxes[2].text, L"");
    for (const ErrorBox& box : script.boxes) {
        EXPECT_EQ(box.caption, application.Title());
        EXPECT_EQ(box.owner, window) << "owned by the program's window";
        EXPECT_FALSE(box.ownerEnabled) << "the window takes no input while the box is up";
    }
    EXPECT_FALSE(IsWindow(window)) << "closing the window ended the loop";
}

TEST(EventLoop, TitleComesFromTheRunningExecutable) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    ui::Application application(GetModuleHandleW(nullptr));
    EXPECT_EQ(application.Title(), ui::ApplicationTitle(path));
    EXPECT_EQ(application.Title(), L"shell_test");
    EXPECT_NE(application.Icon(), nullptr) << "MAINICON";
}

// Runs the start-up sequence with the factory given, dismissing the boxes it shows.
struct StartUpOutcome {
    int exitCode = -1;
    std::vector<ErrorBox> boxes;
};

StartUpOutcome RunStartUpWith(const MainFormFactory& factory) {
    ui::Application application(GetModuleHandleW(nullptr));
    StartUpOutcome outcome;
    std::atomic<bool> finished{false};
    std::thread watcher([&] {
        const DWORD self = GetCurrentProcessId();
        while (!finished) {
            HWND box = nullptr;
            if (!WaitUntil([&] { return finished || (box = FindErrorBox(self)) != nullptr; }, 20s)) {
                // Something hangs: close what is open so that the test ends and fails.
                if (HWND form = FindProcessWindow(self, kMainWindowClassName)) PostMessageW(form, WM_CLOSE, 0, 0);
                break;
            }
            if (!box) break;
            outcome.boxes.push_back(ReadErrorBox(box));
            DismissErrorBox(box);
        }
    });
    outcome.exitCode = RunStartUp(application, factory, SW_SHOWNORMAL);
    finished = true;
    watcher.join();
    return outcome;
}

TEST(StartUp, AFailedConstructionIsShownAndTheProgramEndsWithCodeZero) {
    const StartUpOutcome outcome = RunStartUpWith([]() -> std::unique_ptr<ui::Form> {
        // The real main window, built from a module that has no cover picture.
        return std::make_unique<TForm1>(GetModuleHandleW(L"kernel32.dll"));
    });
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_EQ(outcome.boxes[0].text, L"Resource COVER not found.");
    EXPECT_EQ(outcome.boxes[0].caption, L"shell_test");
    EXPECT_EQ(Form1, nullptr) << "Form1 is null again after a failed construction";
    EXPECT_EQ(FindProcessWindow(GetCurrentProcessId(), kMainWindowClassName), nullptr) << "no window is left";
}

TEST(StartUp, AnExceptionOfAnotherKindGivesAnEmptyBox) {
    const StartUpOutcome outcome =
        RunStartUpWith([]() -> std::unique_ptr<ui::Form> { throw std::runtime_error("foreign"); });
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_EQ(outcome.boxes[0].text, L"");
    EXPECT_EQ(outcome.boxes[0].caption, L"shell_test");
}

TEST(StartUp, Form1IsTheMainWindowWhileItExists) {
    ui::Application application(GetModuleHandleW(nullptr));
    {
        TForm1 form;
        EXPECT_EQ(Form1, &form);
        EXPECT_FALSE(IsWindowVisible(form.Handle())) << "built hidden";
    }
    EXPECT_EQ(Form1, nullptr);
}

}  // namespace
}  // namespace korventa

#pragma once
// The real Korventa.exe as a child process, and its controls found the way a user sees
// them: the main window by its class, a button by its caption.

#include <windows.h>

#include <optional>
#include <string>

#include "app/MainFormLayout.h"
#include "tests/TestSupport.h"
#include "tests/app/ShellTestSupport.h"

namespace korventa::test {

// A run of the program; ended (and waited for, bounded) when the object goes.
class ProgramRun {
public:
    explicit ProgramRun(std::optional<WORD> showCommand = std::nullopt) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (showCommand) {
            startup.dwFlags = STARTF_USESHOWWINDOW;
            startup.wShowWindow = *showCommand;
        }
        std::wstring commandLine = L"\"" + HostPath(KORVENTA_EXE) + L"\"";
        created_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process_) != FALSE;
    }
    ~ProgramRun() {
        if (!created_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            if (HWND window = MainWindow()) PostMessageW(window, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(process_.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return created_; }
    DWORD Id() const { return process_.dwProcessId; }

    HWND MainWindow() const {
        struct Search {
            DWORD id;
            HWND found;
        } search{process_.dwProcessId, nullptr};
        EnumWindows(
            [](HWND window, LPARAM lParam) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(lParam);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner != s.id || ClassName(window) != kMainWindowClassName) return TRUE;
                s.found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // The main window once it is shown (visible, or minimised), or null after the time-out.
    HWND WaitForMainWindow() const {
        HWND window = nullptr;
        WaitUntil([&] { return (window = MainWindow()) != nullptr && IsWindowVisible(window); }, 30s);
        return window;
    }
    // The event loop has taken every event before this one.
    bool RespondsTo(HWND window) const {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result) != 0;
    }
    std::optional<DWORD> ExitCodeAfterClose(HWND window) const {
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    bool created_ = false;
    PROCESS_INFORMATION process_{};
};

// The button with exactly this caption among the window's descendants, or null.
inline HWND FindButton(HWND window, const wchar_t* caption) {
    struct Search {
        const wchar_t* caption;
        HWND found;
    } search{caption, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM lParam) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lParam);
            if (ClassName(child) != L"Button" || WindowText(child) != s.caption) return TRUE;
            s.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace korventa::test

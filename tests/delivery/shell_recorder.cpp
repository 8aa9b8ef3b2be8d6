// Stands in for the spreadsheet program and the word processor: the delivery test registers
// it as the open command for .xls and .doc. Each start appends one line to the log file named
// by KORVENTA_SHELL_LOG, in UTF-8: the show mode it was started with, a tab, and its
// arguments separated by tabs. It then exits.

#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t logPath[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"KORVENTA_SHELL_LOG", logPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 2;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    std::wstring line = (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(startup.wShowWindow) : L"-";

    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments && i < count; ++i) line += L"\t" + std::wstring(arguments[i]);
    LocalFree(arguments);
    line += L"\n";

    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr, nullptr);

    // Appending in one request keeps lines whole if two starts overlap.
    HANDLE log = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    for (int attempt = 0; log == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        Sleep(20);  // another start may hold the log for a moment
        log = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (log == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    const BOOL ok = WriteFile(log, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(log);
    return ok && written == utf8.size() ? 0 : 4;
}

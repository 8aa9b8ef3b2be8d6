// Plays the application that still has a document open: opens the file named by its first
// argument for reading and writing with no sharing, signals the event named by its second
// argument, and keeps the file open until the event named by its third argument is signalled.
//   file_holder.exe PATH READY_EVENT RELEASE_EVENT

#include <windows.h>
#include <shellapi.h>

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count != 4) return 2;
    HANDLE file = CreateFileW(arguments[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, arguments[2]);
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, arguments[3]);
    if (!ready || !release) return 4;
    SetEvent(ready);
    // Bounded, so a holder whose test died does not outlive it for long.
    WaitForSingleObject(release, 60000);
    CloseHandle(file);
    CloseHandle(ready);
    CloseHandle(release);
    LocalFree(arguments);
    return 0;
}

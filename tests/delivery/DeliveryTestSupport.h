#pragma once
// What the delivery tests set up around the action: the working folder's files and times,
// and another process holding a file open.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "delivery/WorkingFolder.h"
#include "tests/TestSupport.h"
#include "tests/delivery/ShellRequests.h"

namespace korventa::test {

using Bytes = std::vector<std::byte>;

inline Bytes TextBytes(std::string_view text) {
    Bytes bytes(text.size());
    std::transform(text.begin(), text.end(), bytes.begin(), [](char c) { return static_cast<std::byte>(c); });
    return bytes;
}

inline std::wstring InWorkingFolder(const std::wstring& name) { return std::wstring(kWorkingFolder) + L"\\" + name; }

inline bool WriteWholeFile(const std::wstring& path, const Bytes& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                      written == bytes.size());
    CloseHandle(file);
    return ok;
}

// Removes a file or a folder with everything in it, whatever their attributes. True when
// nothing is left at path.
inline bool RemoveTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(path.c_str()) != FALSE;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(path.c_str()) != FALSE;
}

// The names in the working folder, sorted; none when it does not exist.
inline std::vector<std::wstring> FolderListing() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((std::wstring(kWorkingFolder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

inline std::uint64_t AsNumber(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

inline std::uint64_t LocalToFileTime(const SYSTEMTIME& local) {
    SYSTEMTIME utc{};
    FILETIME time{};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !SystemTimeToFileTime(&utc, &time)) return 0;
    return AsNumber(time);
}

inline std::uint64_t LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return AsNumber(data.ftLastWriteTime);
}

inline bool SetLastWriteLocalTime(const std::wstring& path, const SYSTEMTIME& local) {
    const std::uint64_t number = LocalToFileTime(local);
    const FILETIME time{static_cast<DWORD>(number), static_cast<DWORD>(number >> 32)};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = number != 0 && SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
    return ok;
}


// Another process with the file open for reading and writing and no sharing, as the
// spreadsheet program holds a workbook it has open. Let go when this object goes.
class FileHolder {
public:
    explicit FileHolder(const std::wstring& path) {
        const std::wstring suffix = UniqueSuffix();
        const std::wstring readyName = L"Korventa.FileHolder.Ready." + suffix;
        const std::wstring releaseName = L"Korventa.FileHolder.Release." + suffix;
        ready_ = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
        release_ = CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str());
        std::wstring commandLine = L"\"" + HostPath(KORVENTA_FILE_HOLDER) + L"\" \"" + path + L"\" " + readyName + L" " +
                                   releaseName;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!ready_ || !release_ ||
            !CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                            &startup, &process))
            return;
        CloseHandle(process.hThread);
        process_ = process.hProcess;
        const HANDLE waitFor[] = {ready_, process_};
        holding_ = WaitForMultipleObjects(2, waitFor, FALSE, 30000) == WAIT_OBJECT_0;
    }
    ~FileHolder() {
        if (process_) {
            SetEvent(release_);
            if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) {
                TerminateProcess(process_, 1);
                WaitForSingleObject(process_, 10000);
            }
            CloseHandle(process_);
        }
        if (ready_) CloseHandle(ready_);
        if (release_) CloseHandle(release_);
    }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    bool Holding() const { return holding_; }

private:
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
    HANDLE process_ = nullptr;
    bool holding_ = false;
};

}  // namespace korventa::test

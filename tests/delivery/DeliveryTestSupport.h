#pragma once
// What the delivery tests set up around the action: the working folder's files and times,
// a registered application that logs the shell's requests, and another process holding a
// file open.

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

inline std::wstring UniqueSuffix() {
    static int counter = 0;
    return std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

// Registers the recorder as what opens .xls and .doc, and removes that again. HKCR is used
// because Wine does not merge the per-user classes into it.
class ScopedAssociation {
public:
    explicit ScopedAssociation(const std::wstring& application) {
        const std::wstring command = L"\"" + application + L"\" \"%1\"";
        registered_ = SetDefault(kProgId + std::wstring(L"\\shell\\open\\command"), command) &&
                      SetDefault(L".xls", kProgId) && SetDefault(L".doc", kProgId);
    }
    ~ScopedAssociation() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".xls");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".doc");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    }
    ScopedAssociation(const ScopedAssociation&) = delete;
    ScopedAssociation& operator=(const ScopedAssociation&) = delete;

    bool Registered() const { return registered_; }

private:
    static constexpr wchar_t kProgId[] = L"Korventa.DeliveryTest.Document";

    static bool SetDefault(const std::wstring& subkey, const std::wstring& value) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        const LSTATUS status = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }

    bool registered_ = false;
};

// The log the recorder appends to, one line per start; named through the environment,
// which the shell passes on to the programs it starts.
class ShellLog {
public:
    ShellLog() {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        path_ = std::wstring(folder) + L"korventa-shell-" + UniqueSuffix() + L".log";
        DeleteFileW(path_.c_str());
        SetEnvironmentVariableW(L"KORVENTA_SHELL_LOG", path_.c_str());
    }
    ~ShellLog() {
        SetEnvironmentVariableW(L"KORVENTA_SHELL_LOG", nullptr);
        DeleteFileW(path_.c_str());
    }
    ShellLog(const ShellLog&) = delete;
    ShellLog& operator=(const ShellLog&) = delete;

    // The requests logged so far, once `expected` of them have come (or a generous bound
    // has passed) and then nothing more for a while, so a request too many shows too.
    std::vector<std::wstring> Requests(std::size_t expected) const {
        using namespace std::chrono;
        const auto deadline = steady_clock::now() + seconds(30);
        while (Lines().size() < expected && steady_clock::now() < deadline) std::this_thread::sleep_for(milliseconds(50));
        const auto quietUntil = steady_clock::now() + milliseconds(1500);
        while (steady_clock::now() < quietUntil) std::this_thread::sleep_for(milliseconds(50));
        return Lines();
    }

private:
    std::vector<std::wstring> Lines() const {
        std::vector<std::wstring> lines;
        const auto bytes = ReadWholeFile(path_);
        if (!bytes || bytes->empty()) return lines;
        const int length = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes->data()),
                                               static_cast<int>(bytes->size()), nullptr, 0);
        std::wstring text(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes->data()), static_cast<int>(bytes->size()),
                            text.data(), length);
        for (std::size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

    std::wstring path_;
};

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

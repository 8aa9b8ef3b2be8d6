#pragma once
// A real application registered for .xls and .doc that logs every request the shell starts
// it with, so a test sees exactly which paths were handed to the shell, and how often.

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/TestSupport.h"

namespace korventa::test {

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

// What the recorder logs for one request: the show mode (SW_RESTORE), then the path.
inline std::wstring ShellRequestFor(const std::wstring& path) { return L"9\t" + path; }

}  // namespace korventa::test

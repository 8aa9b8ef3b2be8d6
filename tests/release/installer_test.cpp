// The real installer, Korventa-<version>-setup.exe, run silently in the test prefix: it puts
// the program, its Start menu shortcut and its uninstall entry in place for the current
// user; the installed program starts and shows its main window; the silent uninstaller
// takes all of that away again but leaves the working folder and the user's file in it.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/MainFormLayout.h"
#include "tests/TestSupport.h"
#include "tests/app/ShellTestSupport.h"

namespace {

using korventa::test::HostPath;
using korventa::test::ReadWholeFile;
using namespace std::chrono_literals;
using korventa::test::FindProcessWindow;
using korventa::test::WaitUntil;

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korventa";
constexpr wchar_t kWorkingFolder[] = L"c:\\Korventa";
constexpr wchar_t kUsersFile[] = L"c:\\Korventa\\Мой расчёт (проверка установки).xls";
constexpr const wchar_t* kMainWindowClass = korventa::kMainWindowClassName;

// Polls until done() holds or the time is up; Wine runs the installer's own children and the

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

class Process {
public:
    explicit Process(const std::wstring& exe, const std::wstring& arguments = L"") {
        std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
            id_ = info.dwProcessId;
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (!process_) return;
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
        CloseHandle(process_);
    }

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }

    // The exit code, or nothing if it is still running after the limit.
    std::optional<DWORD> Wait(std::chrono::milliseconds limit) const {
        if (WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        return code;
    }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};


struct ShortcutTarget {
    std::wstring path;
    std::wstring iconPath;
    int iconIndex = -1;
};

std::optional<ShortcutTarget> ReadShortcut(const std::wstring& lnk) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return std::nullopt;
    std::optional<ShortcutTarget> result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(lnk.c_str(), STGM_READ))) {
            ShortcutTarget target;
            wchar_t buffer[MAX_PATH] = {};
            if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH))) target.path = buffer;
            buffer[0] = 0;
            if (SUCCEEDED(link->GetIconLocation(buffer, MAX_PATH, &target.iconIndex))) target.iconPath = buffer;
            result = target;
        }
        file->Release();
    }
    link->Release();
    return result;
}

std::optional<std::wstring> ReadUninstallValue(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

bool UninstallEntryExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring Lower(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        installDir_ = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Korventa";
        installedExe_ = installDir_ + L"\\Korventa.exe";
        uninstaller_ = installDir_ + L"\\Uninstall.exe";
        shortcut_ = KnownFolder(FOLDERID_Programs) + L"\\Корвента.lnk";
        ASSERT_FALSE(installDir_.size() < 20 || shortcut_.size() < 20) << "known folders missing in the prefix";
        Uninstall();  // whatever an earlier, interrupted run left behind
        ASSERT_FALSE(Exists(installDir_)) << "cannot start from a clean prefix";
    }

    void TearDown() override {
        Uninstall();
        DeleteFileW(kUsersFile);
        CoUninitialize();
    }

    // Runs the silent uninstaller if there is one and waits until it is done. It copies
    // itself to the temporary folder and runs from there, so its own process ends at once.
    void Uninstall() {
        if (!Exists(uninstaller_)) return;
        Process uninstall(uninstaller_, L"/S");
        ASSERT_TRUE(uninstall.Started());
        ASSERT_TRUE(uninstall.Wait(60s));
        // The copy it runs from is not our child: wait for the last of what it removes.
        EXPECT_TRUE(WaitUntil(
            [&] {
                return !Exists(uninstaller_) && !Exists(installedExe_) && !Exists(installDir_) && !Exists(shortcut_) &&
                       !UninstallEntryExists();
            },
            60s))
            << "the uninstaller left the program in place";
    }

    std::wstring installDir_, installedExe_, uninstaller_, shortcut_;
};

TEST_F(Installer, InstallsForTheUserStartsAndUninstallsLeavingTheWorkingFolder) {
    // Install.
    {
        Process setup(HostPath(KORVENTA_INSTALLER), L"/S");
        ASSERT_TRUE(setup.Started()) << "error " << GetLastError();
        const auto code = setup.Wait(120s);
        ASSERT_TRUE(code) << "the installer did not finish";
        ASSERT_EQ(*code, 0u);
    }
    const auto built = ReadWholeFile(HostPath(KORVENTA_EXE));
    const auto installed = ReadWholeFile(installedExe_);
    ASSERT_TRUE(built && installed) << "no program at " << testing::PrintToString(installedExe_);
    EXPECT_TRUE(*installed == *built) << "the installed program differs from the built one";
    EXPECT_TRUE(Exists(uninstaller_));

    const auto shortcut = ReadShortcut(shortcut_);
    ASSERT_TRUE(shortcut) << "no Start menu shortcut at " << testing::PrintToString(shortcut_);
    EXPECT_EQ(Lower(shortcut->path), Lower(installedExe_));
    EXPECT_EQ(Lower(shortcut->iconPath), Lower(installedExe_));
    EXPECT_EQ(shortcut->iconIndex, 0);

    EXPECT_EQ(ReadUninstallValue(L"DisplayName"), L"Корвента");
    EXPECT_EQ(ReadUninstallValue(L"DisplayVersion"), std::wstring(L"" KORVENTA_VERSION));
    EXPECT_EQ(ReadUninstallValue(L"InstallLocation"), installDir_);
    EXPECT_EQ(ReadUninstallValue(L"UninstallString"), L"\"" + uninstaller_ + L"\"");

    // The installed program starts, shows its main window and closes with exit code 0.
    {
        Process program(installedExe_);
        ASSERT_TRUE(program.Started()) << "error " << GetLastError();
        HWND window = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (window = FindProcessWindow(program.Id(), kMainWindowClass)) != nullptr; }, 30s))
            << "the installed program showed no main window";
        if (window) PostMessageW(window, WM_CLOSE, 0, 0);
        const auto code = program.Wait(window ? 30s : 0s);
        ASSERT_TRUE(code) << "the installed program did not end";
        EXPECT_EQ(*code, 0u);
    }

    // The user's work in the working folder.
    CreateDirectoryW(kWorkingFolder, nullptr);
    const std::string content = "the user's own figures";
    {
        HANDLE file = CreateFileW(kUsersFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_EQ(written, content.size());
    }

    Uninstall();
    EXPECT_FALSE(Exists(installDir_)) << "the program's folder is still there";
    EXPECT_FALSE(Exists(shortcut_)) << "the Start menu shortcut is still there";
    EXPECT_FALSE(UninstallEntryExists()) << "the uninstall entry is still there";

    EXPECT_TRUE(Exists(kWorkingFolder)) << "the uninstaller removed the working folder";
    const auto kept = ReadWholeFile(kUsersFile);
    ASSERT_TRUE(kept) << "the uninstaller removed the user's file";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(kept->data()), kept->size()), content);
}

}  // namespace

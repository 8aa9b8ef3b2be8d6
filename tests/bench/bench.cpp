// The benchmark of Korventa.exe, run under Wine by `make bench`. Every figure is measured next
// to a baseline taken in the same run, since absolute times on a shared machine are noisy and
// the ratios are what is tracked:
//   start-up   process start to the main window painted, against an empty window of the same
//              size and style (empty_window.exe);
//   click      the click's steps for the largest template up to its file in place (the same
//              code, run here without the shell request), against one WriteFile of the same
//              bytes to a new file in the same folder; the real click is reported beside it;
//   shell      the shell's open request on its own;
//   memory     private memory after start-up, after all five pages, after 300 clicks over
//              all buttons, with the process's handle and GDI object counts;
//   size       the executable without the embedded templates and cover picture.
// It prints a table and writes the figures as JSON to the path given as its one argument.
//
// The measured program is driven from outside, as a user would: BM_CLICK sent to a button,
// mouse clicks posted to the tabs. It has no hooks for this; the click's own steps are timed
// by calling the program's code for them in this process.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/Catalogue.h"
#include "delivery/OpenDocument.h"
#include "tests/TestSupport.h"
#include "tests/app/ShellTestSupport.h"

namespace {

using korventa::CatalogueEntries;
using korventa::CatalogueEntry;
using korventa::test::HostPath;

constexpr wchar_t kMainWindowClass[] = L"TForm1";
constexpr wchar_t kBaselineClass[] = L"KorventaBenchEmptyWindow";
constexpr wchar_t kGdiResultName[] = L"Local\\KorventaBenchGdiCount";
constexpr wchar_t kNoOpExtension[] = L".kvbench";
constexpr wchar_t kNoOpProgId[] = L"KorventaBench.NoOp";
constexpr DWORD kTimeoutMs = 30000;

constexpr int kStartRuns = 15;
constexpr int kTimedClicks = 31;
constexpr int kSpreadClicks = 300;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "bench: %s (error %lu)\n", what.c_str(), GetLastError());
    std::fflush(stderr);
    ExitProcess(1);
}

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string Narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

// ---- the executable's resources -------------------------------------------------------

struct ResourceInventory {
    unsigned long long fileSize = 0;
    unsigned long long templateBytes = 0;
    unsigned long long pictureBytes = 0;
    std::map<std::wstring, std::vector<char>> templates;  // name -> bytes
};

ResourceInventory ReadResources(const std::wstring& exe) {
    ResourceInventory inventory;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &attributes)) Fail("cannot find Korventa.exe");
    inventory.fileSize = (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;

    const HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) Fail("cannot load Korventa.exe's resources");
    EnumResourceNamesW(
        module, L"FILE",
        [](HMODULE m, LPCWSTR type, LPWSTR name, LONG_PTR context) -> BOOL {
            auto& inv = *reinterpret_cast<ResourceInventory*>(context);
            if (IS_INTRESOURCE(name)) return TRUE;
            const HRSRC found = FindResourceW(m, name, type);
            const DWORD size = SizeofResource(m, found);
            const auto* data = static_cast<const char*>(LockResource(LoadResource(m, found)));
            inv.templateBytes += size;
            inv.templates[name].assign(data, data + size);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&inventory));
    if (const HRSRC cover = FindResourceW(module, L"COVER", MAKEINTRESOURCEW(10) /* RT_RCDATA */))
        inventory.pictureBytes = SizeofResource(module, cover);
    FreeLibrary(module);
    if (inventory.templates.empty()) Fail("no templates found in Korventa.exe");
    return inventory;
}

// ---- processes and their windows ------------------------------------------------------

class Process {
public:
    Process() = default;
    Process(const std::wstring& exe, const std::wstring& arguments) {
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        const BOOL started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            nullptr, &startup, &info);
        if (!started) Fail("cannot start " + Narrow(exe));
        CloseHandle(info.hThread);
        handle_ = info.hProcess;
        id_ = info.dwProcessId;
    }
    Process(Process&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)), id_(other.id_) {}
    Process& operator=(Process&& other) noexcept {
        std::swap(handle_, other.handle_);
        std::swap(id_, other.id_);
        return *this;
    }
    ~Process() {
        if (!handle_) return;
        if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) TerminateProcess(handle_, 1);
        CloseHandle(handle_);
    }

    HANDLE Handle() const { return handle_; }
    DWORD Id() const { return id_; }

private:
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};


std::vector<HWND> Descendants(HWND window) {
    std::vector<HWND> all;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM context) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// Painted: the window is visible and neither it nor any visible window inside it has any
// part left to paint. The update regions are the window manager's own record, so this
// holds only once every WM_PAINT of the first show has been handled.
bool Painted(HWND window) {
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child : Descendants(window))
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs) {
    const double end = NowMs() + timeoutMs;
    while (!condition()) {
        if (NowMs() > end) return false;
        Sleep(1);
    }
    return true;
}

struct Started {
    Process process;
    HWND window = nullptr;
    double ms = 0;
};

// Start-up time: from just before CreateProcess until the process first waits for input
// (WaitForInputIdle: its queue is empty, so the first paint messages have been handled) and
// its window is visible and fully painted.
Started StartUntilPainted(const std::wstring& exe, const std::wstring& arguments, const wchar_t* className) {
    Started started;
    const double begin = NowMs();
    started.process = Process(exe, arguments);
    if (WaitForInputIdle(started.process.Handle(), kTimeoutMs) != 0) Fail("the program never became idle");
    if (!WaitUntil([&] {
            started.window = korventa::test::FindProcessWindow(started.process.Id(), className);
            return started.window && Painted(started.window);
        }))
        Fail("the window never appeared painted");
    started.ms = NowMs() - begin;
    return started;
}

void Close(Started& started) {
    PostMessageW(started.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.process.Handle(), 10000) != WAIT_OBJECT_0) Fail("the program did not close");
}

// ---- what the process holds -------------------------------------------------------------

struct ProcMemory {
    long rssAnonKb = -1;  // resident private (anonymous) memory
    long rssFileKb = -1;  // resident pages of mapped files, the executable's among them
    long vmRssKb = -1;
};

std::string ReadWholeText(const std::wstring& path) {
    const auto bytes = korventa::test::ReadWholeFile(path);
    if (!bytes) return {};
    return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

bool HasEntry(const std::string& block, const std::string& wanted) {
    for (size_t at = 0; at < block.size();) {
        size_t end = block.find('\0', at);
        if (end == std::string::npos) end = block.size();
        if (block.compare(at, end - at, wanted) == 0) return true;
        at = end + 1;
    }
    return false;
}

// The Linux process behind the one Wine process of this prefix that runs exe. Wine starts its
// processes with the Unix environment of the first, so the Windows environment cannot mark
// them; the command line (the Windows path of the program) and the prefix can.
std::optional<std::wstring> FindProcEntry(const std::wstring& exe) {
    wchar_t prefix[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH)) return std::nullopt;
    const std::string wantedPrefix = "WINEPREFIX=" + Narrow(prefix);
    const std::string wantedCommand = Narrow(exe);
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::wstring> result;
    do {
        if (!std::iswdigit(found.cFileName[0])) continue;
        const std::wstring entry = std::wstring(L"Z:\\proc\\") + found.cFileName;
        const std::string command = ReadWholeText(entry + L"\\cmdline");
        if (command.size() < wantedCommand.size() ||
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, command.c_str(), static_cast<int>(wantedCommand.size()),
                           wantedCommand.c_str(), static_cast<int>(wantedCommand.size())) != CSTR_EQUAL)
            continue;
        if (HasEntry(ReadWholeText(entry + L"\\environ"), wantedPrefix)) result = entry;
    } while (!result && FindNextFileW(search, &found));
    FindClose(search);
    return result;
}

ProcMemory ReadMemory(const std::wstring& procEntry) {
    ProcMemory memory;
    std::istringstream status(ReadWholeText(procEntry + L"\\status"));
    std::string key;
    long value = 0;
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream fields(line);
        if (!(fields >> key >> value)) continue;
        if (key == "RssAnon:") memory.rssAnonKb = value;
        if (key == "VmRSS:") memory.vmRssKb = value;
        if (key == "RssFile:") memory.rssFileKb = value;
    }
    return memory;
}

// Every handle the process holds, from the system's handle table (which Wine keeps right,
// although it answers 0 to GetProcessHandleCount).
long CountHandles(DWORD processId) {
    struct Entry {
        ULONG processId;
        BYTE type, flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using Query = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    static const auto query =
        reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<char> buffer(1 << 20);
    ULONG length = 0;
    LONG status;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length)) ==
           kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0) return -1;
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    long mine = 0;
    for (ULONG i = 0; i < count; ++i)
        if (entries[i].processId == processId) ++mine;
    return mine;
}

// The measured process's GDI objects, counted inside it by gdi_probe.dll (see there).
class GdiCounter {
public:
    GdiCounter(HANDLE process, const std::wstring& probeDll) : process_(process) {
        block_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD), kGdiResultName);
        result_ = block_ ? static_cast<volatile DWORD*>(MapViewOfFile(block_, FILE_MAP_WRITE, 0, 0, sizeof(DWORD)))
                         : nullptr;
        const size_t bytes = (probeDll.size() + 1) * sizeof(wchar_t);
        remotePath_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!result_ || !remotePath_ || !WriteProcessMemory(process_, remotePath_, probeDll.c_str(), bytes, nullptr))
            Fail("cannot prepare the GDI probe");
    }
    ~GdiCounter() {
        VirtualFreeEx(process_, remotePath_, 0, MEM_RELEASE);
        UnmapViewOfFile(const_cast<DWORD*>(result_));
        CloseHandle(block_);
    }

    long Count() {
        *result_ = 0xFFFFFFFF;
        const auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
        const HANDLE thread = CreateRemoteThread(process_, nullptr, 0, loadLibrary, remotePath_, 0, nullptr);
        if (!thread) return -1;
        WaitForSingleObject(thread, kTimeoutMs);
        CloseHandle(thread);
        return *result_ == 0xFFFFFFFF ? -1 : static_cast<long>(*result_);
    }

private:
    HANDLE process_;
    HANDLE block_ = nullptr;
    volatile DWORD* result_ = nullptr;
    void* remotePath_ = nullptr;
};

// ---- driving the main window ------------------------------------------------------------

// Returns only once the program has handled everything sent or posted to it before.
void Sync(HWND window) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored);
}

// A mouse click on a tab, as the tab control gets it from the user: it then selects the page
// and tells the page control, which brings the page to the front.
bool ShowPage(HANDLE process, HWND form, HWND tabs, int index) {
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    RECT tab{};
    const bool gotRect = remote && SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote)) &&
                         ReadProcessMemory(process, remote, &tab, sizeof tab, nullptr);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (!gotRect) return false;
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    // Sent, not posted: a posted click would queue behind the messages sent to the program.
    SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabs, WM_LBUTTONUP, 0, at);
    return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == index && WaitUntil([&] { return Painted(form); });
}

struct CatalogueButton {
    const CatalogueEntry* entry;
    HWND window;
};

std::vector<CatalogueButton> FindCatalogueButtons(HWND form) {
    std::map<std::wstring, HWND> byCaption;
    for (HWND child : Descendants(form))
        if (ClassOf(child) == L"Button") byCaption[TextOf(child)] = child;
    std::vector<CatalogueButton> buttons;
    for (const CatalogueEntry& entry : CatalogueEntries()) {
        if (!entry.resourceName) continue;
        const auto found = byCaption.find(entry.caption);
        if (found == byCaption.end()) Fail("no button captioned " + Narrow(entry.caption));
        buttons.push_back({&entry, found->second});
    }
    return buttons;
}

bool FileHasSize(const std::wstring& path, size_t size) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) && attributes.nFileSizeHigh == 0 &&
           attributes.nFileSizeLow == size;
}

// One create, one WriteFile of all the bytes, one close. CREATE_NEW makes the baseline; an
// existing file rewritten with CREATE_ALWAYS is the reference for a click that overwrites.
double TimeWrite(const std::wstring& path, const std::vector<char>& bytes, DWORD disposition) {
    const double begin = NowMs();
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("cannot create the baseline file");
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    const double ms = NowMs() - begin;
    if (!ok || written != bytes.size()) Fail("baseline write fell short");
    return ms;
}

// A do-nothing application registered for kNoOpExtension while it lives.
class NoOpAssociation {
public:
    explicit NoOpAssociation(const std::wstring& noOpExe) {
        const std::wstring command = L"\"" + noOpExe + L"\" --exit \"%1\"";
        ok_ = SetDefault(kNoOpExtension, kNoOpProgId) &&
              SetDefault(std::wstring(kNoOpProgId) + L"\\shell\\open\\command", command);
    }
    ~NoOpAssociation() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kNoOpExtension);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kNoOpProgId);
    }
    bool Ok() const { return ok_; }

private:
    static bool SetDefault(const std::wstring& key, const std::wstring& value) {
        HKEY opened = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) != 0)
            return false;
        const LONG status = RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(opened);
        return status == 0;
    }
    bool ok_ = false;
};

// ---- the report ---------------------------------------------------------------------------

struct Checkpoint {
    std::string name;
    ProcMemory memory;
    long handles = -1;
    long gdiObjects = -1;
};

struct Results {
    std::vector<double> startProgram, startBaseline, startBaselinePicture, startBaselineButtons;
    int startButtonCount = 0;
    std::string clickTemplate, clickFile;
    size_t clickBytes = 0;
    std::vector<double> click, baselineWrite, shellNoAssociation, shellRegistered, messageRoundTrip;
    std::vector<double> action;  // the click's steps up to the file in place, in this process
    std::vector<double> rewriteInPlace;
    std::vector<Checkpoint> checkpoints;
    ProcMemory baselineMemory;
    ResourceInventory sizes;
};

std::string Fixed(double value, int decimals = 2) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Json(const Results& r) {
    std::ostringstream out;
    auto list = [&](const std::vector<double>& values) {
        std::string text = "[";
        for (size_t i = 0; i < values.size(); ++i) text += (i ? ", " : "") + Fixed(values[i], 3);
        return text + "]";
    };
    const double startRatio = Median(r.startProgram) / Median(r.startBaseline);
    const double clickRatio = Median(r.action) / Median(r.baselineWrite);
    out << "{\n"
        << "  \"startup\": {\"program_ms\": " << Fixed(Median(r.startProgram), 3)
        << ", \"baseline_ms\": " << Fixed(Median(r.startBaseline), 3) << ", \"ratio\": " << Fixed(startRatio, 3)
        << ", \"goal\": 1.5, \"baseline_with_picture_ms\": " << Fixed(Median(r.startBaselinePicture), 3)
        << ", \"baseline_with_picture_and_buttons_ms\": " << Fixed(Median(r.startBaselineButtons), 3)
        << ", \"buttons\": " << r.startButtonCount
        << ", \"runs_program\": " << list(r.startProgram) << ", \"runs_baseline\": " << list(r.startBaseline)
        << ", \"runs_baseline_with_picture\": " << list(r.startBaselinePicture)
        << ", \"runs_baseline_with_picture_and_buttons\": " << list(r.startBaselineButtons)
        << "},\n"
        << "  \"click\": {\"template\": \"" << r.clickTemplate << "\", \"bytes\": " << r.clickBytes
        << ", \"program_ms\": " << Fixed(Median(r.action), 3) << ", \"real_click_ms\": " << Fixed(Median(r.click), 3)
        << ", \"baseline_write_ms\": "
        << Fixed(Median(r.baselineWrite), 3) << ", \"ratio\": " << Fixed(clickRatio, 3)
        << ", \"goal\": 2.0, \"shell_request_no_association_ms\": " << Fixed(Median(r.shellNoAssociation), 3)
        << ", \"shell_request_registered_ms\": " << Fixed(Median(r.shellRegistered), 3)
        << ", \"message_round_trip_ms\": " << Fixed(Median(r.messageRoundTrip), 3)
        << ", \"program_net_ms\": "
        << Fixed(Median(r.click) - Median(r.shellNoAssociation) - Median(r.messageRoundTrip), 3) << ", \"samples\": " << r.click.size()
        << ", \"rewrite_in_place_ms\": " << Fixed(Median(r.rewriteInPlace), 3) << ", \"runs_program\": " << list(r.action)
        << ", \"runs_real_click\": " << list(r.click) << ", \"runs_baseline\": " << list(r.baselineWrite) << "},\n"
        << "  \"memory\": [";
    for (size_t i = 0; i < r.checkpoints.size(); ++i) {
        const Checkpoint& c = r.checkpoints[i];
        out << (i ? ",\n    " : "\n    ") << "{\"at\": \"" << c.name << "\", \"private_kb\": " << c.memory.rssAnonKb
            << ", \"rss_kb\": " << c.memory.vmRssKb << ", \"rss_file_kb\": " << c.memory.rssFileKb << ", \"handles\": " << c.handles
            << ", \"gdi_objects\": " << c.gdiObjects << "}";
    }
    const auto& s = r.sizes;
    out << "\n  ],\n"
        << "  \"baseline_memory\": {\"private_kb\": " << r.baselineMemory.rssAnonKb
        << ", \"rss_file_kb\": " << r.baselineMemory.rssFileKb << ", \"rss_kb\": " << r.baselineMemory.vmRssKb << "},\n"
        << "  \"size\": {\"executable_bytes\": " << s.fileSize << ", \"templates_bytes\": " << s.templateBytes
        << ", \"picture_bytes\": " << s.pictureBytes
        << ", \"program_bytes\": " << (s.fileSize - s.templateBytes - s.pictureBytes) << ", \"goal_bytes\": 614400}\n"
        << "}\n";
    return out.str();
}

void PrintTable(const Results& r) {
    const double startRatio = Median(r.startProgram) / Median(r.startBaseline);
    const double clickRatio = Median(r.action) / Median(r.baselineWrite);
    std::printf("\n%-44s %12s %12s %8s %8s\n", "figure", "Korventa", "baseline", "ratio", "goal");
    std::printf("%-44s %10s ms %10s ms %8s %8s\n", "start-up to main window painted (median)",
                Fixed(Median(r.startProgram)).c_str(), Fixed(Median(r.startBaseline)).c_str(),
                Fixed(startRatio).c_str(), "<= 1.5");
    std::printf("%-44s %10s ms %10s ms %8s\n", "start-up, fastest run",
                Fixed(*std::min_element(r.startProgram.begin(), r.startProgram.end())).c_str(),
                Fixed(*std::min_element(r.startBaseline.begin(), r.startBaseline.end())).c_str(),
                Fixed(*std::min_element(r.startProgram.begin(), r.startProgram.end()) /
                      *std::min_element(r.startBaseline.begin(), r.startBaseline.end()))
                    .c_str());
    std::printf("%-44s %10s ms %10s ms %8s\n", "  against one with the cover and a text line", Fixed(Median(r.startProgram)).c_str(),
                Fixed(Median(r.startBaselinePicture)).c_str(),
                Fixed(Median(r.startProgram) / Median(r.startBaselinePicture)).c_str());
    std::printf("%-44s %10s ms %10s ms %8s\n", ("  against that plus " + std::to_string(r.startButtonCount) + " plain buttons").c_str(),
                Fixed(Median(r.startProgram)).c_str(), Fixed(Median(r.startBaselineButtons)).c_str(),
                Fixed(Median(r.startProgram) / Median(r.startBaselineButtons)).c_str());
    std::printf("%-44s %10s ms %10s ms %8s %8s\n", ("click " + r.clickTemplate + " to file in place (median)").c_str(),
                Fixed(Median(r.action), 3).c_str(), Fixed(Median(r.baselineWrite), 3).c_str(),
                Fixed(clickRatio).c_str(), "<= 2.0");
    std::printf("%-44s %10s ms %10s ms %8s\n", "  reference: CREATE_ALWAYS over the old file", Fixed(Median(r.action), 3).c_str(),
                Fixed(Median(r.rewriteInPlace), 3).c_str(), Fixed(Median(r.action) / Median(r.rewriteInPlace)).c_str());
    std::printf("%-44s %10s ms\n", "the real click, shell request and message too", Fixed(Median(r.click), 3).c_str());
    std::printf("%-44s %10s ms\n", "shell request, no application registered", Fixed(Median(r.shellNoAssociation), 3).c_str());
    std::printf("%-44s %10s ms\n", "shell request, no-op application registered", Fixed(Median(r.shellRegistered), 3).c_str());
    std::printf("%-44s %10s ms\n", "cross-process message round trip (in click)", Fixed(Median(r.messageRoundTrip), 3).c_str());
    std::printf("\n%-28s %12s %12s %12s %9s %12s\n", "memory", "private KB", "file KB", "RSS KB", "handles",
                "GDI objects");
    for (const Checkpoint& c : r.checkpoints)
        std::printf("%-28s %12ld %12ld %12ld %9ld %12ld\n", c.name.c_str(), c.memory.rssAnonKb, c.memory.rssFileKb,
                    c.memory.vmRssKb, c.handles, c.gdiObjects);
    std::printf("%-28s %12ld %12ld %12ld\n", "baseline: the empty window", r.baselineMemory.rssAnonKb,
                r.baselineMemory.rssFileKb, r.baselineMemory.vmRssKb);
    const auto& s = r.sizes;
    std::printf("\nsize: executable %llu - templates %llu - picture %llu = %llu bytes (goal <= 614400)\n", s.fileSize,
                s.templateBytes, s.pictureBytes, s.fileSize - s.templateBytes - s.pictureBytes);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: korventa_bench JSON-OUTPUT\n");
        return 2;
    }
    const std::wstring program = HostPath(KORVENTA_EXE);
    const std::wstring emptyWindow = HostPath(KORVENTA_EMPTY_WINDOW_EXE);
    const std::wstring probe = HostPath(KORVENTA_GDI_PROBE_DLL);
    const std::wstring cover = HostPath(KORVENTA_COVER_JPEG);
    const std::wstring jsonPath = HostPath(argv[1]);

    Results results;
    results.sizes = ReadResources(program);

    // Start-up, alternating the program and the baseline; the first of each warms the caches.
    std::wstring baselineArguments;
    int buttonCount = 0;
    for (int run = -1; run < kStartRuns; ++run) {
        Started main = StartUntilPainted(program, L"", kMainWindowClass);
        if (baselineArguments.empty()) {
            for (HWND child : Descendants(main.window)) buttonCount += ClassOf(child) == L"Button";
            results.startButtonCount = buttonCount;
            RECT frame{};
            GetWindowRect(main.window, &frame);
            baselineArguments = std::to_wstring(frame.right - frame.left) + L" " + std::to_wstring(frame.bottom - frame.top) +
                                L" " + std::to_wstring(static_cast<DWORD>(GetWindowLongW(main.window, GWL_STYLE)));
        }
        Close(main);
        Started empty = StartUntilPainted(emptyWindow, baselineArguments, kBaselineClass);
        Close(empty);
        Started withPicture = StartUntilPainted(emptyWindow, baselineArguments + L" \"" + cover + L"\"", kBaselineClass);
        Close(withPicture);
        Started withButtons = StartUntilPainted(
            emptyWindow, baselineArguments + L" \"" + cover + L"\" " + std::to_wstring(buttonCount), kBaselineClass);
        Close(withButtons);
        if (run < 0) continue;
        results.startProgram.push_back(main.ms);
        results.startBaseline.push_back(empty.ms);
        results.startBaselinePicture.push_back(withPicture.ms);
        results.startBaselineButtons.push_back(withButtons.ms);
        std::printf("start-up run %d: Korventa %.1f ms, empty window %.1f ms, with cover and text %.1f ms, "
                    "and %d buttons %.1f ms\n",
                    run + 1, main.ms, empty.ms, withPicture.ms, buttonCount, withButtons.ms);
    }

    // The baseline's memory, read the same way.
    {
        Started empty = StartUntilPainted(emptyWindow, baselineArguments, kBaselineClass);
        Sync(empty.window);
        const auto entry = FindProcEntry(emptyWindow);
        if (!entry) Fail("cannot find the empty window's /proc entry");
        results.baselineMemory = ReadMemory(*entry);
        Close(empty);
    }

    // One session of the program for the clicks and the memory figures.
    Started session = StartUntilPainted(program, L"", kMainWindowClass);
    const HANDLE process = session.process.Handle();
    const HWND form = session.window;
    const auto procEntry = FindProcEntry(program);
    if (!procEntry) Fail("cannot find the program's /proc entry");
    GdiCounter gdi(process, probe);
    auto checkpoint = [&](const char* name) {
        Sync(form);
        Checkpoint c{name, ReadMemory(*procEntry), CountHandles(session.process.Id()), gdi.Count()};
        results.checkpoints.push_back(c);
    };
    checkpoint("after start-up");

    HWND tabs = nullptr;
    for (HWND child : Descendants(form))
        if (ClassOf(child) == WC_TABCONTROLW) tabs = child;
    if (!tabs) Fail("no tab control in the main window");
    const int pages = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int page = 1; page <= pages; ++page)
        if (!ShowPage(process, form, tabs, page % pages)) Fail("page " + std::to_string(page % pages) + " did not show");
    checkpoint("after all five pages");

    // The click on the largest template's button, against the one write request.
    const std::vector<CatalogueButton> buttons = FindCatalogueButtons(form);
    const CatalogueButton* largest = &buttons.front();
    for (const auto& each : buttons)
        if (results.sizes.templates[each.entry->resourceName].size() >
            results.sizes.templates[largest->entry->resourceName].size())
            largest = &each;
    const std::vector<char>& bytes = results.sizes.templates[largest->entry->resourceName];
    const std::wstring target = korventa::TargetPath(*largest->entry);
    const std::wstring folder = target.substr(0, target.find_last_of(L'\\'));
    results.clickTemplate = Narrow(largest->entry->resourceName);
    results.clickFile = Narrow(target);
    results.clickBytes = bytes.size();
    const std::wstring rewritten = folder + L"\\~bench-rewritten.tmp";
    for (int i = -1; i < kTimedClicks; ++i) {
        const double begin = NowMs();
        SendMessageW(largest->window, BM_CLICK, 0, 0);
        const double click = NowMs() - begin;
        if (!FileHasSize(target, bytes.size())) Fail("the click left no file of the template's size");
        const std::wstring fresh = folder + L"\\~bench-baseline-" + std::to_wstring(i + 1) + L".tmp";
        const double write = TimeWrite(fresh, bytes, CREATE_NEW);
        DeleteFileW(fresh.c_str());
        const double rewrite = TimeWrite(rewritten, bytes, CREATE_ALWAYS);
        const double roundTripBegin = NowMs();
        Sync(form);
        const double roundTrip = NowMs() - roundTripBegin;
        // The same code as the click, here in this process: every step up to the file in
        // place (folder, template, comparison with the file there, write), without the shell
        // request, whose cost is the registered application's, and without the message that
        // carries the click.
        const double actionBegin = NowMs();
        korventa::detail::PlaceTemplate(largest->entry->resourceName, target, korventa::detail::WriteWhole);
        const double action = NowMs() - actionBegin;
        if (!FileHasSize(target, bytes.size())) Fail("the click's steps left no file of the template's size");
        if (i < 0) continue;
        results.action.push_back(action);
        results.click.push_back(click);
        results.baselineWrite.push_back(write);
        results.messageRoundTrip.push_back(roundTrip);
        results.rewriteInPlace.push_back(rewrite);
    }
    DeleteFileW(rewritten.c_str());
    for (int i = 0; i < kTimedClicks; ++i) {
        const double begin = NowMs();
        ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_RESTORE);
        results.shellNoAssociation.push_back(NowMs() - begin);
    }
    {
        const std::wstring noOpFile = folder + L"\\~bench-shell" + kNoOpExtension;
        CloseHandle(CreateFileW(noOpFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        NoOpAssociation association(emptyWindow);
        if (association.Ok())
            for (int i = 0; i < 11; ++i) {
                const double begin = NowMs();
                ShellExecuteW(nullptr, nullptr, noOpFile.c_str(), nullptr, nullptr, SW_RESTORE);
                results.shellRegistered.push_back(NowMs() - begin);
            }
        Sleep(500);  // the launched no-op programs end by themselves
        DeleteFileW(noOpFile.c_str());
    }

    // 300 clicks spread over all buttons, counted from a fresh round.
    for (int i = 0; i < kSpreadClicks; ++i) {
        SendMessageW(buttons[i % buttons.size()].window, BM_CLICK, 0, 0);
        if ((i + 1) % static_cast<int>(buttons.size()) == 0 || i + 1 == kSpreadClicks) {
            const std::string name = "after " + std::to_string(i + 1) + " clicks";
            checkpoint(name.c_str());
        }
    }
    Close(session);

    PrintTable(results);
    std::ofstream(std::filesystem::path(jsonPath)) << Json(results);
    std::printf("\nwritten: %s\n", Narrow(jsonPath).c_str());
    return 0;
}

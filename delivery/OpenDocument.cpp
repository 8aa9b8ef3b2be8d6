#include "delivery/OpenDocument.h"

#include <shellapi.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <span>
#include <utility>
#include <vector>

#include "delivery/WorkingFolder.h"
#include "store/TemplateStore.h"
#include "ui/Exceptions.h"

// How a click puts the template at the target path without ever losing the user's bytes:
//  1. The file already there is opened with no sharing. That is what tells that another
//     program (the spreadsheet, say) still has it open, and the handle is then held to the
//     end, so nobody can open, change or replace the file between the comparison and the
//     replacement.
//  2. No file there: the target is created as a new file and written; should the write
//     fail, the new file is removed again, and the folder is as it was.
//  3. A file equal to the template: the same bytes are written over it through the held
//     handle. Whatever part of that write lands, the content stays what it was.
//  4. A file the user changed: the template is written in full to a temporary file beside
//     it (until here nothing at the target path has changed; a failure removes the
//     temporary file), the held file is renamed through its own handle to its kept name
//     (a rename moves no bytes, so the kept copy is the user's file itself, with its
//     content and times), and the temporary file is renamed to the target path. Should
//     that last step fail, the held file is renamed back.
// So at every moment the user's bytes are under the target path or under the kept name.

namespace korventa {
namespace {

// Windows refuses to create a file over one with these; Wine does not, so they are
// checked here and refused on both.
constexpr DWORD kRefusedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Enough for any number of edits saved within the same second.
constexpr int kMaxKeptNamesPerStamp = 1000;

class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE handle) noexcept : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }

    explicit operator bool() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const noexcept { return handle_; }

    void Reset(HANDLE handle) noexcept {
        Close();
        handle_ = handle;
    }
    void Close() noexcept {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Renames the file behind a handle opened with DELETE access. Renaming through the handle
// (rather than by path) is what lets the program keep the file open with no sharing.
bool RenameOpenFile(HANDLE file, const std::wstring& newPath, bool replaceExisting) {
    const std::size_t nameBytes = newPath.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);  // the struct holds the terminator
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replaceExisting ? TRUE : FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, newPath.c_str(), nameBytes + sizeof(wchar_t));
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != FALSE;
}

std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A name in folder that no file has yet; the caller creates the file with CREATE_NEW and
// asks again should another file have taken the name meanwhile.
std::wstring UnusedTemporaryName(const std::wstring& folder, unsigned attempt) {
    wchar_t path[MAX_PATH];
    const auto unique = static_cast<UINT>((GetTickCount64() + GetCurrentProcessId() + attempt) % 0xFFFF + 1);
    if (GetTempFileNameW(folder.c_str(), L"~kv", unique, path) == 0) return {};
    return path;
}

// "2026-12-11 14-05-33": when the file was last saved, in local time under the
// daylight-saving rule of that date rather than of today.
std::wstring LastWriteStamp(HANDLE file) {
    FILETIME written{};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    if (!GetFileTime(file, nullptr, nullptr, &written) || !FileTimeToSystemTime(&written, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        GetLocalTime(&local);
    wchar_t stamp[32];
    std::swprintf(stamp, std::size(stamp), L"%04u-%02u-%02u %02u-%02u-%02u", local.wYear, local.wMonth, local.wDay,
                  local.wHour, local.wMinute, local.wSecond);
    return stamp;
}

// One request for the whole image, straight from the store's memory. An empty template
// makes an empty file without any request.
void WriteTemplate(HANDLE file, const TemplateImage& image, detail::WriteFn write) {
    if (image.Size() == 0) return;
    const auto size = static_cast<DWORD>(image.Size());
    DWORD written = 0;
    if (!write(file, image.Data(), size, &written) || written != size) throw EWriteError();
}

// The file already at the target path, held with no sharing from the comparison until the
// click ends. Unless Commit is called, a file moved aside goes back to the target path.
class ExistingTarget {
public:
    explicit ExistingTarget(const std::wstring& targetPath) : targetPath_(targetPath) {
        // Write access: a file the user may not change is refused, as creating over it
        // would be, and a copy equal to the template is rewritten through this handle.
        file_.Reset(CreateFileW(targetPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file_) {
            const DWORD error = GetLastError();
            // A missing folder is reported when the new file cannot be created in it.
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
            throw EFCreateError(targetPath);
        }
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(file_.Get(), &info) || (info.dwFileAttributes & kRefusedAttributes) != 0)
            throw EFCreateError(targetPath);
    }
    ExistingTarget(const ExistingTarget&) = delete;
    ExistingTarget& operator=(const ExistingTarget&) = delete;

    ~ExistingTarget() {
        if (!committed_ && !keptPath_.empty()) RenameOpenFile(file_.Get(), targetPath_, false);
    }

    bool Present() const noexcept { return static_cast<bool>(file_); }

    // Whether the file holds exactly these bytes. A file that cannot be read counts as
    // different, so it is kept rather than thrown away.
    bool Holds(std::span<const std::byte> bytes) const {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file_.Get(), &size) || static_cast<unsigned long long>(size.QuadPart) != bytes.size())
            return false;
        std::vector<std::byte> chunk(std::min<std::size_t>(bytes.size(), 64 * 1024));
        for (std::size_t compared = 0; compared < bytes.size();) {
            const auto wanted = static_cast<DWORD>(std::min(chunk.size(), bytes.size() - compared));
            DWORD got = 0;
            if (!ReadFile(file_.Get(), chunk.data(), wanted, &got, nullptr) || got == 0) return false;
            if (std::memcmp(chunk.data(), bytes.data() + compared, got) != 0) return false;
            compared += got;
        }
        return true;
    }

    // Writes the template over a file that already holds exactly its bytes.
    void Rewrite(const TemplateImage& image, detail::WriteFn write) {
        LARGE_INTEGER start{};
        if (!SetFilePointerEx(file_.Get(), start, nullptr, FILE_BEGIN)) throw EWriteError();
        WriteTemplate(file_.Get(), image, write);
    }

    // Frees the target path: the file the user changed goes to its kept name,
    // "<name> (YYYY-MM-DD HH-MM-SS)<ext>", then " (2)", " (3)" ... before the extension.
    void MoveToKeptName() {
        const auto slash = targetPath_.find_last_of(L"\\/");
        const std::size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
        auto dot = targetPath_.rfind(L'.');
        if (dot == std::wstring::npos || dot <= nameStart) dot = targetPath_.size();
        const std::wstring stem = targetPath_.substr(0, dot) + L" (" + LastWriteStamp(file_.Get()) + L")";
        const std::wstring extension = targetPath_.substr(dot);
        for (int n = 1; n <= kMaxKeptNamesPerStamp; ++n) {
            const std::wstring kept = stem + (n == 1 ? L"" : L" (" + std::to_wstring(n) + L")") + extension;
            if (RenameOpenFile(file_.Get(), kept, false)) {
                keptPath_ = kept;
                return;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
        }
        throw EFCreateError(targetPath_);
    }

    // The new file is in place: the kept one stays where it went.
    void Commit() noexcept { committed_ = true; }

private:
    const std::wstring& targetPath_;
    FileHandle file_;
    std::wstring keptPath_;
    bool committed_ = false;
};

// A file this click creates, at the target path itself or under a temporary name beside
// it; removed again unless it ends up at the target path.
class NewFile {
public:
    // At the target path, which must be free.
    explicit NewFile(const std::wstring& targetPath) : path_(targetPath) {
        if (!Create()) throw EFCreateError(targetPath);
        placed_ = true;
    }
    // Under a temporary name in the target's folder.
    struct Temporary {};
    NewFile(const std::wstring& targetPath, Temporary) {
        const std::wstring folder = FolderOf(targetPath);
        for (unsigned attempt = 0; attempt < 16 && !file_; ++attempt) {
            path_ = UnusedTemporaryName(folder, attempt);
            if (path_.empty() || (!Create() && GetLastError() != ERROR_FILE_EXISTS)) break;
        }
        if (!file_) throw EFCreateError(targetPath);
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    ~NewFile() {
        file_.Close();
        if (!complete_) DeleteFileW(path_.c_str());
    }

    void Write(const TemplateImage& image, detail::WriteFn write) {
        WriteTemplate(file_.Get(), image, write);
        complete_ = placed_;
    }

    // Renames the written file to the target path, which must be free by now.
    void TakePlaceOf(const std::wstring& targetPath) {
        if (!RenameOpenFile(file_.Get(), targetPath, false)) throw EFCreateError(targetPath);
        complete_ = true;
    }

private:
    bool Create() {
        file_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
        return static_cast<bool>(file_);
    }

    std::wstring path_;
    FileHandle file_;
    bool placed_ = false;    // created at the target path itself
    bool complete_ = false;  // written and at the target path: it stays
};


// Every handle taken here is closed again when it returns or throws.
void PutTemplateInPlace(const TemplateImage& image, const std::wstring& targetPath, detail::WriteFn write) {
    ExistingTarget existing(targetPath);
    if (!existing.Present()) {
        NewFile(targetPath).Write(image, write);
    } else if (existing.Holds(image.Bytes())) {
        existing.Rewrite(image, write);
    } else {
        NewFile fresh(targetPath, NewFile::Temporary{});
        fresh.Write(image, write);
        existing.MoveToKeptName();
        fresh.TakePlaceOf(targetPath);
        existing.Commit();
    }
}

}  // namespace

BOOL detail::WriteWhole(HANDLE file, const void* data, DWORD size, DWORD* written) {
    return WriteFile(file, data, size, written, nullptr);
}

void detail::PlaceTemplate(std::wstring_view resourceName, const std::wstring& targetPath, WriteFn write) {
    EnsureWorkingFolder();
    const TemplateImage image(resourceName);
    PutTemplateInPlace(image, targetPath, write);
}

void detail::OpenDocument(std::wstring_view resourceName, const std::wstring& targetPath, HWND owner,
                          WriteFn write) {
    PlaceTemplate(resourceName, targetPath, write);
    // The file is closed by now, so the application the shell starts can open it.
    ShellExecuteW(owner, nullptr, targetPath.c_str(), nullptr, nullptr, SW_RESTORE);
}

void OpenDocument(std::wstring_view resourceName, const std::wstring& targetPath, HWND owner) {
    detail::OpenDocument(resourceName, targetPath, owner, detail::WriteWhole);
}

}  // namespace korventa

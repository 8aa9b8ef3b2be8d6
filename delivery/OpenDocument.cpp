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

// How a click replaces the file at the target path without ever losing the user's bytes:
//  1. The file already there is opened with no sharing. That is what tells that another
//     program (the spreadsheet, say) still has it open, and the handle is then held to the
//     end, so nobody can open, change or replace the file between the comparison and the
//     replacement.
//  2. The template is written in full to a temporary file in the same folder. Until here
//     nothing at the target path has changed; a failure removes the temporary file.
//  3. The held file is renamed aside through its own handle: to its kept name when it
//     differs from the template, otherwise to a temporary name. A rename moves no bytes,
//     so the kept copy is the user's file itself, with its content and times.
//  4. The temporary file is renamed to the target path. Should that fail, the held file is
//     renamed back. Only once the new file is in place is a set-aside file that merely
//     equalled the template deleted.
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

// A fresh, empty file with a unique name in folder; the name is returned.
std::wstring CreateTemporaryFile(const std::wstring& folder, const std::wstring& targetPath) {
    wchar_t path[MAX_PATH];
    if (GetTempFileNameW(folder.c_str(), L"~kv", 0, path) == 0) throw EFCreateError(targetPath);
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

// The file already at the target path, held with no sharing from the comparison until the
// click ends. Unless Commit is called, a file moved aside goes back to the target path.
class ExistingTarget {
public:
    explicit ExistingTarget(const std::wstring& targetPath) : targetPath_(targetPath) {
        // Write access although nothing is written through this handle: a file the user may
        // not change is refused, as creating over it would be.
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
        if (!committed_ && !asidePath_.empty()) RenameOpenFile(file_.Get(), targetPath_, false);
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

    // Frees the target path. A file the user changed goes to its kept name, one that
    // equals the template to a temporary name, to be deleted at Commit.
    void MoveAside(bool keep) {
        if (!Present()) return;
        if (keep) {
            MoveToKeptName();
        } else {
            const std::wstring placeholder = CreateTemporaryFile(FolderOf(targetPath_), targetPath_);
            if (!RenameOpenFile(file_.Get(), placeholder, true)) {
                DeleteFileW(placeholder.c_str());
                throw EFCreateError(targetPath_);
            }
            asidePath_ = placeholder;
            discard_ = true;
        }
    }

    // The new file is in place: let go of the old one, and drop it if it only equalled the template.
    void Commit() noexcept {
        committed_ = true;
        file_.Close();
        if (discard_) DeleteFileW(asidePath_.c_str());
    }

private:
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
                asidePath_ = kept;
                return;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
        }
        throw EFCreateError(targetPath_);
    }

    const std::wstring& targetPath_;
    FileHandle file_;
    std::wstring asidePath_;
    bool discard_ = false;
    bool committed_ = false;
};

// The new copy of the template, written beside the target under a temporary name and
// removed again unless it takes the target's place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& targetPath)
        : path_(CreateTemporaryFile(FolderOf(targetPath), targetPath)) {
        file_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file_) {
            DeleteFileW(path_.c_str());
            throw EFCreateError(targetPath);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    ~TemporaryFile() {
        file_.Close();
        if (!placed_) DeleteFileW(path_.c_str());
    }

    HANDLE Handle() const noexcept { return file_.Get(); }

    // Renames the file to the target path, which must be free by now.
    void TakePlaceOf(const std::wstring& targetPath) {
        if (!RenameOpenFile(file_.Get(), targetPath, false)) throw EFCreateError(targetPath);
        placed_ = true;
    }

private:
    std::wstring path_;
    FileHandle file_;
    bool placed_ = false;
};

// One request for the whole image, straight from the store's memory. An empty template
// makes an empty file without any request.
void WriteTemplate(HANDLE file, const TemplateImage& image, detail::WriteFn write) {
    if (image.Size() == 0) return;
    const auto size = static_cast<DWORD>(image.Size());
    DWORD written = 0;
    if (!write(file, image.Data(), size, &written) || written != size) throw EWriteError();
}

// Every handle taken here is closed again when it returns or throws.
void PutTemplateInPlace(const TemplateImage& image, const std::wstring& targetPath, detail::WriteFn write) {
    ExistingTarget existing(targetPath);
    const bool keep = existing.Present() && !existing.Holds(image.Bytes());
    TemporaryFile fresh(targetPath);
    WriteTemplate(fresh.Handle(), image, write);
    existing.MoveAside(keep);
    fresh.TakePlaceOf(targetPath);
    existing.Commit();
}

BOOL WriteWhole(HANDLE file, const void* data, DWORD size, DWORD* written) {
    return WriteFile(file, data, size, written, nullptr);
}

}  // namespace

void detail::OpenDocument(std::wstring_view resourceName, const std::wstring& targetPath, HWND owner,
                          WriteFn write) {
    EnsureWorkingFolder();
    const TemplateImage image(resourceName);
    PutTemplateInPlace(image, targetPath, write);
    // The file is closed by now, so the application the shell starts can open it.
    ShellExecuteW(owner, nullptr, targetPath.c_str(), nullptr, nullptr, SW_RESTORE);
}

void OpenDocument(std::wstring_view resourceName, const std::wstring& targetPath, HWND owner) {
    detail::OpenDocument(resourceName, targetPath, owner, WriteWhole);
}

}  // namespace korventa

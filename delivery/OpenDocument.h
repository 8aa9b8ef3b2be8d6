#pragma once
// What one click on a catalogue button does: put the template into the working folder
// under its file name and have the shell open it with the application registered for it.

#include <windows.h>

#include <string>
#include <string_view>

namespace korventa {

// Throws EResNotFound, EFCreateError (with targetPath as given) or EWriteError; the caller
// lets them reach the error display. The shell is asked only after a complete write, and
// its answer is not examined.
//
// The target is never left half-written, and a failed click leaves the folder as it was.
// A file at the target that differs from the template (the user's own edits) is kept
// beside it as "<name> (YYYY-MM-DD HH-MM-SS)<ext>", stamped with its last-write time in
// local time, and the template takes its place only once all of it is written.
void OpenDocument(std::wstring_view resourceName, const std::wstring& targetPath, HWND owner);

namespace detail {

// The one write request of the action, shaped like WriteFile without the OVERLAPPED.
using WriteFn = BOOL (*)(HANDLE file, const void* data, DWORD size, DWORD* written);

// OpenDocument with the write request passed in; OpenDocument passes WriteFile. It lets a
// test make the write fail or fall short part-way, which a real disk does only when full.
void OpenDocument(std::wstring_view resourceName, const std::wstring& targetPath, HWND owner, WriteFn write);

// Every step of OpenDocument up to the file in place, without the shell request: what the
// benchmark times against a plain write.
void PlaceTemplate(std::wstring_view resourceName, const std::wstring& targetPath, WriteFn write);

// The real write request, as OpenDocument uses it.
BOOL WriteWhole(HANDLE file, const void* data, DWORD size, DWORD* written);

}  // namespace detail

}  // namespace korventa

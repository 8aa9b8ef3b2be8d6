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
void OpenDocument(std::wstring_view resourceName, const std::wstring& targetPath, HWND owner);

}  // namespace korventa

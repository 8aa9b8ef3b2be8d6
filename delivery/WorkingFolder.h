#pragma once
// The one folder every template is written to. It is created at start-up and again before
// every write, so a folder removed while the program runs comes back at the next click.

namespace korventa {

inline constexpr wchar_t kWorkingFolder[] = L"c:\\Korventa";

// One level, no parents. Failure is not reported here: the file creation that follows
// reports it with the path the user recognises.
void EnsureWorkingFolder() noexcept;

}  // namespace korventa

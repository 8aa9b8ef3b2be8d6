#pragma once
// Small helpers shared by the test programs: build paths as Windows (or Wine) reads them,
// and whole files read the way any other program would.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korventa::test {

// A path given at build time: a Linux path under Wine becomes its Z: drive path.
inline std::wstring HostPath(std::wstring path) {
    if (!path.empty() && path.front() == L'/') path = L"Z:" + path;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

// The whole file, or nothing when it cannot be opened for reading.
inline std::optional<std::vector<std::byte>> ReadWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<std::byte> bytes;
    std::byte chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    CloseHandle(file);
    return bytes;
}

}  // namespace korventa::test

// The version resource of the built Korventa.exe, read back the way Explorer's properties
// page reads it, against the project version the build was configured with.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/TestSupport.h"

namespace {

using korventa::test::HostPath;

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring exe = HostPath(KORVENTA_EXE);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
        ASSERT_NE(size, 0u) << "no version resource in Korventa.exe, error " << GetLastError();
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block_.data()));
    }

    std::optional<std::wstring> String(const wchar_t* name) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041904B0\\") + name;
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block_.data(), key.c_str(), &value, &length) || value == nullptr) return std::nullopt;
        return std::wstring(static_cast<const wchar_t*>(value));
    }

    std::vector<unsigned char> block_;
};

std::wstring Widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

TEST_F(VersionResource, CarriesTheProjectVersionInNumbersAndText) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(KORVENTA_VERSION, "%u.%u.%u", &major, &minor, &patch), 3) << KORVENTA_VERSION;
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(minor, major));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, patch));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

    EXPECT_EQ(String(L"FileVersion"), Widen(KORVENTA_VERSION));
    EXPECT_EQ(String(L"ProductVersion"), Widen(KORVENTA_VERSION));
}

TEST_F(VersionResource, IsRussianUnicodeWithItsCyrillicIntact) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_GE(length, 4u);
    const auto* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(translation[0], 0x0419);  // Russian
    EXPECT_EQ(translation[1], 1200);    // UTF-16

    // Any wrong guess at the source encoding on the way through the resource compiler
    // shows here as other characters.
    EXPECT_EQ(String(L"FileDescription"), L"Корвента — налоговые регистры");
    const auto copyright = String(L"LegalCopyright");
    ASSERT_TRUE(copyright);
    EXPECT_EQ(copyright->rfind(L"© ", 0), 0u) << "starts with the copyright sign";
    EXPECT_NE(copyright->find(L"Корвента"), std::wstring::npos);
}

TEST_F(VersionResource, NamesTheProductAndItsFile) {
    EXPECT_EQ(String(L"ProductName"), L"Korventa");
    EXPECT_EQ(String(L"OriginalFilename"), L"Korventa.exe");
    EXPECT_EQ(String(L"InternalName"), L"Korventa");
}

}  // namespace

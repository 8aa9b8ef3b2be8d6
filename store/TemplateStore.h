#pragma once
// The templates carried inside the executable, each a resource of type "FILE" named
// DOC1 ... DOC86. Opening one yields a read-only view of its bytes in the loaded image:
// nothing is copied, and releasing the view leaves the bytes where they are.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace korventa {

inline constexpr wchar_t kTemplateResourceType[] = L"FILE";

class TemplateImage {
public:
    // Looks the template up in the program's own image only. Throws EResNotFound with the
    // name exactly as given when there is no such template.
    explicit TemplateImage(std::wstring_view resourceName,
                           std::wstring_view resourceType = kTemplateResourceType);
    ~TemplateImage();

    TemplateImage(const TemplateImage&) = delete;
    TemplateImage& operator=(const TemplateImage&) = delete;

    std::span<const std::byte> Bytes() const noexcept { return bytes_; }
    const void* Data() const noexcept { return bytes_.data(); }
    std::size_t Size() const noexcept { return bytes_.size(); }

    // The bytes belong to the executable: always throws EStreamError.
    [[noreturn]] void Write(const void* buffer, std::size_t count);

private:
    void* loaded_ = nullptr;  // HGLOBAL of the resource
    std::span<const std::byte> bytes_;
};

}  // namespace korventa

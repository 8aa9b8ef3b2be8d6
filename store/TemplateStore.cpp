#include "store/TemplateStore.h"

#include <windows.h>

#include "ui/Exceptions.h"

namespace korventa {

TemplateImage::TemplateImage(std::wstring_view resourceName, std::wstring_view resourceType) {
    const std::wstring name(resourceName);
    const std::wstring type(resourceType);
    // A null module is the executable that started the process, and nothing else.
    HRSRC found = FindResourceW(nullptr, name.c_str(), type.c_str());
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw EResNotFound(resourceName);
    loaded_ = loaded;
    bytes_ = {static_cast<const std::byte*>(data), SizeofResource(nullptr, found)};
}

TemplateImage::~TemplateImage() {
    // Kept for symmetry with LoadResource; on Win32 the bytes stay mapped with the image.
    FreeResource(static_cast<HGLOBAL>(loaded_));
}

void TemplateImage::Write(const void*, std::size_t) {
    throw EStreamError(L"Can't write to a read-only resource stream");
}

}  // namespace korventa

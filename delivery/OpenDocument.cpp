#include "delivery/OpenDocument.h"

#include <shellapi.h>

#include "delivery/WorkingFolder.h"
#include "store/TemplateStore.h"
#include "ui/Exceptions.h"

namespace korventa {

void OpenDocument(std::wstring_view resourceName, const std::wstring& targetPath, HWND owner) {
    EnsureWorkingFolder();
    TemplateImage image(resourceName);
    HANDLE file = CreateFileW(targetPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw EFCreateError(targetPath);
    DWORD written = 0;
    const bool complete = image.Size() == 0 ||
                          (WriteFile(file, image.Data(), static_cast<DWORD>(image.Size()), &written, nullptr) &&
                           written == image.Size());
    CloseHandle(file);
    if (!complete) throw EWriteError();
    ShellExecuteW(owner, nullptr, targetPath.c_str(), nullptr, nullptr, SW_RESTORE);
}

}  // namespace korventa

#pragma once
// A picture control showing a JPEG from the program's resources, stretched to fill the
// control exactly (the aspect ratio is not kept). The JPEG is decoded the first time the
// control is drawn and the decoded image is reused for every later paint; a control that
// is never drawn never decodes it.

#include <windows.h>

#include "ui/Form.h"
#include "ui/Handles.h"

namespace korventa::ui {

class Picture : public Control {
public:
    // The JPEG is the RCDATA resource `resourceName` of `module`; throws EResNotFound.
    Picture(Form& form, Control& parent, const Bounds& bounds, HMODULE module, const wchar_t* resourceName);

    bool IsDecoded() const noexcept { return static_cast<bool>(decoded_); }
    SIZE ImageSize() const noexcept { return decodedSize_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Decode();
    void Paint();

    const BYTE* jpeg_ = nullptr;
    DWORD jpegSize_ = 0;
    BitmapHandle decoded_;
    SIZE decodedSize_{};
    bool decodeFailed_ = false;
};

}  // namespace korventa::ui

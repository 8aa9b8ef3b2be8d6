#pragma once
// The fonts of a form: one face and height, regular and bold, realised for one density.

#include <windows.h>

#include "ui/Handles.h"

namespace korventa::ui {

enum class FontStyle { Regular, Bold };

// Where a control's font comes from: its parent's, or a style of its own.
struct FontChoice {
    bool fromParent;
    FontStyle style;

    static constexpr FontChoice Parent() { return {true, FontStyle::Regular}; }
    static constexpr FontChoice Own(FontStyle style) { return {false, style}; }
};

// Face and character height in pixels at 96 dpi (negative: the character height, not the cell).
struct FontSpec {
    const wchar_t* face;
    int height;
};

class FontSet {
public:
    FontSet(const FontSpec& spec, UINT dpi);
    HFONT Get(FontStyle style) const noexcept { return style == FontStyle::Bold ? bold_.Get() : regular_.Get(); }

private:
    FontHandle regular_;
    FontHandle bold_;
};

}  // namespace korventa::ui

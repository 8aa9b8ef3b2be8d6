#include "ui/Fonts.h"

#include "ui/Exceptions.h"
#include "ui/Window.h"

namespace korventa::ui {
namespace {

FontHandle CreateFontFor(const FontSpec& spec, UINT dpi, int weight) {
    LOGFONTW font{};
    font.lfHeight = ScaleToDpi(spec.height, dpi);
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;  // a sans-serif stands in where the face is missing
    lstrcpynW(font.lfFaceName, spec.face, LF_FACESIZE);
    FontHandle handle(CreateFontIndirectW(&font));
    if (!handle) throw Exception(L"Out of system resources");
    return handle;
}

}  // namespace

FontSet::FontSet(const FontSpec& spec, UINT dpi)
    : regular_(CreateFontFor(spec, dpi, FW_NORMAL)), bold_(CreateFontFor(spec, dpi, FW_BOLD)) {}

}  // namespace korventa::ui

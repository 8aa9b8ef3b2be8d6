#pragma once
// The main window as data: the window, its page control, the five pages and the cover
// pictures. Positions and sizes are pixels at 96 dpi; the buttons come from the catalogue.

#include <windows.h>

#include "catalogue/Catalogue.h"
#include "ui/Form.h"

namespace korventa {

// The window class of the main window; other processes (tests, automation) find the
// window by it. Its tab strip is the only "SysTabControl32" in it, its buttons are told
// apart by their captions, and error boxes are "#32770" dialogs with the text in 0xFFFF.
inline constexpr wchar_t kMainWindowClassName[] = L"TForm1";

// A fixed single frame with a title bar: system menu, minimise and close; no resizing,
// no maximising. Its font is the one every control inherits unless it sets its own.
inline constexpr ui::FormSpec kMainWindowLayout{
    kMainWindowClassName,
    L"Корвента",
    {556, 404},
    {592, 356},
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    {L"MS Sans Serif", -11},
};

inline constexpr ui::Bounds kPageControlBounds{8, 8, 577, 337};
inline constexpr ui::FontChoice kPageControlFont = ui::FontChoice::Own(ui::FontStyle::Bold);  // bold tab captions

struct PageLayout {
    Page page;
    const wchar_t* caption;
    ui::FontChoice font;  // the page's own regular font, or the page control's bold one
    bool showsCover;
};

// In tab order from left to right; the fifth page is TabSheet6.
inline constexpr PageLayout kPageLayouts[kPageCount] = {
    {Page::TabSheet1, L"Корвента", ui::FontChoice::Own(ui::FontStyle::Regular), true},
    {Page::TabSheet2, L"НР 100", ui::FontChoice::Parent(), false},
    {Page::TabSheet3, L"НР 300", ui::FontChoice::Own(ui::FontStyle::Regular), true},
    {Page::TabSheet4, L"Другие НР", ui::FontChoice::Own(ui::FontStyle::Regular), true},
    {Page::TabSheet6, L"НР 100.10", ui::FontChoice::Parent(), false},
};

// Image1, Image3 and Image4: the cover picture stretched to exactly this box on its page.
inline constexpr ui::Bounds kCoverBounds{392, 16, 161, 225};
inline constexpr wchar_t kCoverResource[] = L"COVER";

}  // namespace korventa

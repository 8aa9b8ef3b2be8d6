#include "ui/PageControl.h"

#include <commctrl.h>

namespace korventa::ui {
namespace {

constexpr wchar_t kTabSheetClass[] = L"KorventaTabSheet";

}  // namespace

PageControl::PageControl(Form& form, const Bounds& bounds, FontChoice font)
    : Control(form, nullptr, bounds, font) {
    // The pages are its children: clipping them keeps the tab control from painting over them.
    CreateSystem(WC_TABCONTROLW, 0,
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TCS_TABS | TCS_SINGLELINE,
                 L"", PlacementAt(form.Dpi()), form.Handle(), form.NextControlId());
    ApplyFont();
}

TabSheet& PageControl::AddPage(const wchar_t* caption, FontChoice font) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption);
    const int index = PageCount();
    SendMessageW(Handle(), TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    TabSheet& page = OwnerForm().Add<TabSheet>(*this, font);
    pages_.push_back(&page);
    // The tab row may have grown: every page fills the display area again.
    for (TabSheet* each : pages_) each->ApplyDpi(OwnerForm().Dpi());
    ShowActivePage();
    return page;
}

int PageControl::ActivePageIndex() const noexcept {
    return static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
}

void PageControl::SetActivePage(int index) {
    SendMessageW(Handle(), TCM_SETCURSEL, index, 0);
    ShowActivePage();
}

void PageControl::SelectNextPage(bool forward) {
    const int count = PageCount();
    if (count == 0) return;
    const int current = ActivePageIndex();
    SetActivePage(forward ? (current + 1) % count : (current + count - 1) % count);
}

RECT PageControl::PageArea() const {
    RECT area{};
    GetClientRect(Handle(), &area);
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

bool PageControl::HandleDialogKey(WPARAM key, bool control, bool shift) {
    if (key != VK_TAB || !control) return false;
    SelectNextPage(!shift);
    return true;
}

LRESULT PageControl::OnNotify(const NMHDR& header) {
    if (header.code == TCN_SELCHANGE) ShowActivePage();
    return 0;
}

void PageControl::ShowActivePage() {
    const int active = ActivePageIndex();
    const HWND focus = GetFocus();
    HWND leaving = nullptr;
    for (int i = 0; i < PageCount(); ++i)
        if (i != active && IsWindowVisible(Page(i).Handle())) leaving = Page(i).Handle();
    if (active >= 0 && active < PageCount()) {
        const HWND shown = Page(active).Handle();
        SetWindowPos(shown, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        // The focus does not stay behind on a page that goes out of sight.
        if (leaving && focus && IsChild(leaving, focus)) {
            const HWND first = Form::FirstTabStopIn(shown);
            SetFocus(first ? first : Handle());
        }
    }
    for (int i = 0; i < PageCount(); ++i)
        if (i != active) ShowWindow(Page(i).Handle(), SW_HIDE);
}

// ---------------------------------------------------------------------------------------

TabSheet::TabSheet(Form& form, PageControl& pageControl, FontChoice font)
    : Control(form, &pageControl, {0, 0, 0, 0}, font), pageControl_(pageControl) {
    RegisterOwnClass(kTabSheetClass, 0, GetSysColorBrush(COLOR_BTNFACE), nullptr, nullptr);
    // A container for the keyboard: Tab goes on into the page's controls.
    CreateOwn(kTabSheetClass, WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, L"",
              PlacementAt(form.Dpi()), pageControl.Handle(), form.NextControlId());
    ApplyFont();
}

RECT TabSheet::PlacementAt(UINT /*dpi*/) const { return pageControl_.PageArea(); }

}  // namespace korventa::ui

#pragma once
// A page control over the common tab control: one tab per page, the page of the selected
// tab in front. Pages are child windows of the tab control filling its display area, and
// the controls of a page are children of the page.

#include <windows.h>

#include <vector>

#include "ui/Form.h"

namespace korventa::ui {

class TabSheet;

class PageControl : public Control {
public:
    PageControl(Form& form, const Bounds& bounds, FontChoice font);

    // Adds a page with its tab at the end.
    TabSheet& AddPage(const wchar_t* caption, FontChoice font);

    int PageCount() const noexcept { return static_cast<int>(pages_.size()); }
    TabSheet& Page(int index) const { return *pages_.at(static_cast<size_t>(index)); }
    int ActivePageIndex() const noexcept;
    void SetActivePage(int index);
    // The next or previous page, wrapping around at either end.
    void SelectNextPage(bool forward);

    // The area the pages fill, in the tab control's client coordinates.
    RECT PageArea() const;

    bool HandleDialogKey(WPARAM key, bool control, bool shift) override;
    LRESULT OnNotify(const NMHDR& header) override;

private:
    void ShowActivePage();

    std::vector<TabSheet*> pages_;
};

class TabSheet : public Control {
public:
    TabSheet(Form& form, PageControl& pageControl, FontChoice font);

protected:
    RECT PlacementAt(UINT dpi) const override;

private:
    PageControl& pageControl_;
};

}  // namespace korventa::ui

#pragma once
// The main window: the page control with its five pages, the cover pictures and the
// catalogue's buttons, and the one handler every button's click goes to.

#include <windows.h>

#include <array>
#include <vector>

#include "app/MainFormLayout.h"
#include "catalogue/Catalogue.h"
#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/PageControl.h"
#include "ui/Picture.h"

namespace korventa {

class TForm1;

// The main window while it exists: set as its construction begins, null again when
// construction fails or the window object is destroyed.
extern TForm1* Form1;

namespace detail {
// The first base of TForm1, so that Form1 is set before anything of the window is built
// and reset by the unwinding of a construction that throws.
class Form1Slot {
protected:
    explicit Form1Slot(TForm1* form) noexcept;
    ~Form1Slot();
    Form1Slot(const Form1Slot&) = delete;
    Form1Slot& operator=(const Form1Slot&) = delete;
};
}  // namespace detail

class TForm1 : private detail::Form1Slot, public ui::Form {
public:
    // resources: the module carrying the cover picture, normally the program itself.
    // Creates the window hidden, places the catalogue and creates the working folder.
    explicit TForm1(HMODULE resources = GetModuleHandleW(nullptr));

    ui::PageControl& PageControl1() const noexcept { return *pageControl1_; }
    ui::TabSheet& Sheet(Page page) const noexcept { return *sheets_[static_cast<size_t>(page)]; }
    // Image1, Image3 or Image4; null on the pages without the cover.
    ui::Picture* Cover(Page page) const noexcept { return covers_[static_cast<size_t>(page)]; }
    // In the order of CatalogueEntries().
    const std::vector<ui::Button*>& Buttons() const noexcept { return buttons_; }

    // Every catalogue button's click: write its template out and have the shell open it.
    void CatalogueButtonClick(const CatalogueEntry& entry);

private:
    ui::PageControl* pageControl1_ = nullptr;
    std::array<ui::TabSheet*, kPageCount> sheets_{};
    std::array<ui::Picture*, kPageCount> covers_{};
    std::vector<ui::Button*> buttons_;
};

}  // namespace korventa

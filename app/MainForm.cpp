#include "app/MainForm.h"

#include "catalogue/Placement.h"
#include "delivery/OpenDocument.h"
#include "delivery/WorkingFolder.h"

namespace korventa {

TForm1* Form1 = nullptr;

namespace detail {
Form1Slot::Form1Slot(TForm1* form) noexcept { Form1 = form; }
Form1Slot::~Form1Slot() { Form1 = nullptr; }
}  // namespace detail

TForm1::TForm1(HMODULE resources) : Form1Slot(this), ui::Form(kMainWindowLayout) {
    pageControl1_ = &Add<ui::PageControl>(kPageControlBounds, kPageControlFont);
    for (const PageLayout& layout : kPageLayouts) {
        const auto index = static_cast<size_t>(layout.page);
        sheets_[index] = &pageControl1_->AddPage(layout.caption, layout.font);
        if (layout.showsCover)
            covers_[index] = &Add<ui::Picture>(*sheets_[index], kCoverBounds, resources, kCoverResource);
    }
    pageControl1_->SetActivePage(0);
    buttons_ = PlaceCatalogue(*this, sheets_, [this](const CatalogueEntry& entry) { CatalogueButtonClick(entry); });
    // Whether the folder could be made shows at the first click, with the file's path.
    EnsureWorkingFolder();
}

void TForm1::CatalogueButtonClick(const CatalogueEntry& entry) {
    OpenDocument(entry.resourceName, TargetPath(entry), Handle());
}

}  // namespace korventa

#include "catalogue/Placement.h"

#include "ui/Button.h"
#include "ui/PageControl.h"

namespace korventa {

std::vector<ui::Button*> PlaceCatalogue(ui::Form& form, std::span<ui::TabSheet* const, kPageCount> pages,
                                        const CatalogueClick& onClick) {
    std::vector<ui::Button*> buttons;
    const auto entries = CatalogueEntries();
    buttons.reserve(entries.size());
    for (int pageIndex = 0; pageIndex < kPageCount; ++pageIndex) {
        ui::TabSheet& page = *pages[static_cast<size_t>(pageIndex)];
        // A page that carries the page control's bold font does not pass it on: no button
        // shows bold.
        const ui::FontChoice font = page.EffectiveFontStyle() == ui::FontStyle::Regular
                                        ? ui::FontChoice::Parent()
                                        : ui::FontChoice::Own(ui::FontStyle::Regular);
        for (const CatalogueEntry& entry : entries) {
            if (static_cast<int>(entry.page) != pageIndex) continue;
            const auto& [left, top, width, height] = entry.bounds;
            ui::Button& button = form.Add<ui::Button>(page, entry.caption, ui::Bounds{left, top, width, height}, font);
            if (entry.resourceName) button.SetOnClick([&entry, onClick] { onClick(entry); });
            buttons.push_back(&button);
        }
    }
    return buttons;
}

}  // namespace korventa

#pragma once
// Puts the catalogue on the pages of the main window: one push button per entry, each
// bound to one click handler that is told which entry was clicked.

#include <functional>
#include <span>
#include <vector>

#include "catalogue/Catalogue.h"

namespace korventa::ui {
class Button;
class Form;
class TabSheet;
}  // namespace korventa::ui

namespace korventa {

using CatalogueClick = std::function<void(const CatalogueEntry&)>;

// For each page in page order, creates its buttons in the order of CatalogueEntries()
// (their tab order) with caption, bounds and the regular font, and binds the click of
// every entry with a template to onClick. Returns the buttons in that same order.
std::vector<ui::Button*> PlaceCatalogue(ui::Form& form, std::span<ui::TabSheet* const, kPageCount> pages,
                                        const CatalogueClick& onClick);

}  // namespace korventa

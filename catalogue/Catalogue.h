#pragma once
// The documents the user can open: one entry per button of the main window, each naming
// the page it stands on, how it looks, the template it writes and the file it writes it to.

#include <span>
#include <string>

namespace korventa {

// The five pages of the main window, in the order of their tabs.
enum class Page { TabSheet1, TabSheet2, TabSheet3, TabSheet4, TabSheet6 };
inline constexpr int kPageCount = 5;

// Position and size in pixels at 96 dpi, relative to the page's client area.
struct DesignRect {
    int left, top, width, height;
};

struct CatalogueEntry {
    Page page;
    const wchar_t* controlName;
    const wchar_t* caption;
    DesignRect bounds;
    int tabOrder;
    const wchar_t* resourceName;    // template in the store, or null for a button without one
    const wchar_t* targetFileName;  // name written into the working folder, null with resourceName
};

// Every entry, page by page in tab order: the order in which the buttons are created.
std::span<const CatalogueEntry> CatalogueEntries();

// The working folder, a backslash and the entry's file name.
std::wstring TargetPath(const CatalogueEntry& entry);

}  // namespace korventa

// The main window built in-process, as the program builds it: layout, fonts and pictures
// at the density of the screen (96 dpi, or what KORVENTA_EXPECTED_DPI says the prefix is
// set to), the keyboard, and the rescaling when the window moves to another density.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "catalogue/Catalogue.h"
#include "delivery/WorkingFolder.h"
#include "tests/app/ShellTestSupport.h"
#include "ui/Application.h"

namespace korventa {
namespace {

using namespace test;

UINT ExpectedDpi() {
    const char* value = std::getenv("KORVENTA_EXPECTED_DPI");
    return value ? static_cast<UINT>(std::atoi(value)) : 96u;
}

RECT RectIn(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT Scaled(int left, int top, int width, int height, UINT dpi) {
    return ui::ScaleToDpi(ui::Bounds{left, top, width, height}, dpi);
}

std::string Show(const RECT& r) {
    std::ostringstream text;
    text << '{' << r.left << ',' << r.top << ',' << r.right - r.left << 'x' << r.bottom - r.top << '}';
    return text.str();
}
#define EXPECT_RECT(actual, expected) EXPECT_EQ(Show(actual), Show(expected))

LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    EXPECT_NE(handle, nullptr) << "no font set";
    if (handle) GetObjectW(handle, sizeof font, &font);
    return font;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct WindowDcForTest {
    explicit WindowDcForTest(HWND window) : window(window), dc(GetDC(window)) {}
    ~WindowDcForTest() { ReleaseDC(window, dc); }
    HWND window;
    HDC dc;
};

class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folderExisted_ = GetFileAttributesW(kWorkingFolder) != INVALID_FILE_ATTRIBUTES;
        application_ = std::make_unique<ui::Application>(GetModuleHandleW(nullptr));
        application_->CreateForm([] { return std::make_unique<TForm1>(); });
        form_ = static_cast<TForm1*>(application_->MainForm());
        form_->Show(SW_SHOWNORMAL);
        Pump([] { return GetActiveWindow() == form_->Handle(); });
    }
    static void TearDownTestSuite() {
        form_ = nullptr;
        application_.reset();
        if (!folderExisted_) RemoveDirectoryW(kWorkingFolder);
    }

    // Runs the event loop until the condition holds (bounded); true when it held.
    static bool Pump(const std::function<bool()>& condition) {
        return WaitUntil([&] {
            application_->ProcessMessages();
            return condition();
        });
    }

    static void Press(std::initializer_list<WORD> keys) {
        std::vector<INPUT> inputs;
        for (WORD key : keys) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            inputs.push_back(input);
        }
        for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = *it;
            input.ki.dwFlags = KEYEVENTF_KEYUP;
            inputs.push_back(input);
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
    // Presses the keys and lets the window handle them until the condition holds (bounded).
    static bool PressUntil(std::initializer_list<WORD> keys, const std::function<bool()>& condition) {
        Press(keys);
        const bool held = Pump(condition);
        application_->ProcessMessages();
        return held;
    }
    static HWND PressAndSettle(std::initializer_list<WORD> keys, HWND expectedFocus) {
        PressUntil(keys, [&] { return GetFocus() == expectedFocus; });
        return GetFocus();
    }
    // For keys whose effect is that nothing happens: the keys have been taken from the queue
    // once the key-up of the last one is no longer pending.
    static void PressAndIdle(std::initializer_list<WORD> keys) {
        Press(keys);
        const WORD last = *std::rbegin(keys);
        Pump([&] { return GetAsyncKeyState(last) >= 0 && !GetQueueStatus(QS_INPUT); });
    }

    static std::vector<ui::Button*> ButtonsOn(Page page) {
        std::vector<ui::Button*> buttons;
        const auto entries = CatalogueEntries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].page == page) buttons.push_back(form_->Buttons()[i]);
        return buttons;
    }

    UINT dpi() const { return form_->Dpi(); }
    static TForm1& form() { return *form_; }

    static inline std::unique_ptr<ui::Application> application_;
    static inline TForm1* form_ = nullptr;  // the application's main form
    static inline bool folderExisted_ = false;
};

TEST_F(MainWindow, RunsAtTheScreenDensity) { EXPECT_EQ(dpi(), ExpectedDpi()); }

TEST_F(MainWindow, IsAFixedSingleFrameAtItsDesignedPlace) {
    const HWND window = form().Handle();
    EXPECT_EQ(ClassName(window), L"TForm1");
    EXPECT_EQ(WindowText(window), L"Корвента");
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "maximising is not offered";
    EXPECT_FALSE(style & WS_THICKFRAME) << "the frame cannot be resized";
    EXPECT_FALSE(style & WS_POPUP);

    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 556);
    EXPECT_EQ(outer.top, 404);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, ui::ScaleToDpi(592, dpi()));
    EXPECT_EQ(client.bottom, ui::ScaleToDpi(356, dpi()));

    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1) << "button-face background";
    EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0) << "the program icon";
}

TEST_F(MainWindow, HasOnePageControlWithFiveBoldTabs) {
    int tabControls = 0;
    EnumChildWindows(
        form().Handle(),
        [](HWND child, LPARAM count) -> BOOL {
            if (ClassName(child) == WC_TABCONTROLW) ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tabControls));
    EXPECT_EQ(tabControls, 1);

    const HWND tabs = form().PageControl1().Handle();
    EXPECT_EQ(GetParent(tabs), form().Handle());
    EXPECT_RECT(RectIn(tabs, form().Handle()), Scaled(8, 8, 577, 337, dpi()));
    EXPECT_EQ(GetWindow(form().Handle(), GW_CHILD), tabs) << "first in the window's tab order";

    const LOGFONTW font = FontOf(tabs);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfHeight, -ui::ScaleToDpi(11, dpi()));
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");

    const wchar_t* captions[] = {L"Корвента", L"НР 100", L"НР 300", L"Другие НР", L"НР 100.10"};
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 5);
    for (int i = 0; i < 5; ++i) {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, captions[i]);
        EXPECT_EQ(item.iImage, -1) << "tabs show no pictures";
    }
}

TEST_F(MainWindow, PagesFillThePageControlAndCarryTheirFonts) {
    const struct {
        Page page;
        ui::FontStyle font;
    } pages[] = {{Page::TabSheet1, ui::FontStyle::Regular},
                 {Page::TabSheet2, ui::FontStyle::Bold},
                 {Page::TabSheet3, ui::FontStyle::Regular},
                 {Page::TabSheet4, ui::FontStyle::Regular},
                 {Page::TabSheet6, ui::FontStyle::Bold}};
    ASSERT_EQ(form().PageControl1().PageCount(), 5);
    for (int i = 0; i < 5; ++i) {
        ui::TabSheet& sheet = form().Sheet(pages[i].page);
        EXPECT_EQ(&form().PageControl1().Page(i), &sheet);
        EXPECT_EQ(GetParent(sheet.Handle()), form().PageControl1().Handle());
        EXPECT_RECT(RectIn(sheet.Handle(), form().PageControl1().Handle()), form().PageControl1().PageArea());
        EXPECT_EQ(sheet.EffectiveFontStyle(), pages[i].font) << "page " << i + 1;
    }
    RECT area = form().PageControl1().PageArea();
    EXPECT_GE(area.bottom - area.top, ui::ScaleToDpi(256 + 25, dpi())) << "the lowest buttons fit";
    EXPECT_GE(area.right - area.left, ui::ScaleToDpi(553, dpi())) << "the cover fits";
}

TEST_F(MainWindow, EveryCatalogueEntryIsARegularButtonOnItsPageInTabOrder) {
    const auto entries = CatalogueEntries();
    ASSERT_EQ(form().Buttons().size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const CatalogueEntry& entry = entries[i];
        const HWND button = form().Buttons()[i]->Handle();
        SCOPED_TRACE(std::wstring(entry.controlName));
        EXPECT_EQ(WindowText(button), entry.caption);
        EXPECT_EQ(GetParent(button), form().Sheet(entry.page).Handle());
        EXPECT_RECT(RectIn(button, GetParent(button)),
                    Scaled(entry.bounds.left, entry.bounds.top, entry.bounds.width, entry.bounds.height, dpi()));
        const LONG style = GetWindowLongW(button, GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << "never the default button";
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_FALSE(style & WS_DISABLED);
        EXPECT_GE(GetDlgCtrlID(button), 1000) << "well away from IDOK and IDCANCEL";
        const LOGFONTW font = FontOf(button);
        EXPECT_EQ(font.lfWeight, FW_NORMAL) << "no button shows bold";
        EXPECT_EQ(font.lfHeight, -ui::ScaleToDpi(11, dpi()));
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    }
    // Creation order is the tab order: the page's windows stand in the order of its table.
    for (Page page : {Page::TabSheet1, Page::TabSheet2, Page::TabSheet3, Page::TabSheet4, Page::TabSheet6}) {
        std::vector<HWND> created;
        for (HWND child = GetWindow(form().Sheet(page).Handle(), GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            if (ClassName(child) == L"Button") created.push_back(child);
        std::vector<HWND> expected;
        for (ui::Button* button : ButtonsOn(page)) expected.push_back(button->Handle());
        EXPECT_EQ(created, expected) << "page " << static_cast<int>(page) + 1;
    }
}

TEST_F(MainWindow, CoverPicturesStandOnTheFirstThirdAndFourthPageOnly) {
    for (Page page : {Page::TabSheet1, Page::TabSheet2, Page::TabSheet3, Page::TabSheet4, Page::TabSheet6}) {
        ui::Picture* cover = form().Cover(page);
        const bool shows = page == Page::TabSheet1 || page == Page::TabSheet3 || page == Page::TabSheet4;
        ASSERT_EQ(cover != nullptr, shows) << "page " << static_cast<int>(page) + 1;
        if (!cover) continue;
        EXPECT_EQ(GetParent(cover->Handle()), form().Sheet(page).Handle());
        EXPECT_RECT(RectIn(cover->Handle(), GetParent(cover->Handle())), Scaled(392, 16, 161, 225, dpi()));
        for (ui::Button* button : ButtonsOn(page)) {
            RECT overlap{}, a = RectIn(button->Handle(), GetParent(button->Handle())),
                            b = RectIn(cover->Handle(), GetParent(cover->Handle()));
            EXPECT_FALSE(IntersectRect(&overlap, &a, &b)) << "no button reaches the picture";
        }
    }
}

TEST_F(MainWindow, CoverIsDecodedWhenFirstDrawnAndOnlyThen) {
    form().PageControl1().SetActivePage(0);
    UpdateWindow(form().Handle());
    Pump([] { return form().Cover(Page::TabSheet1)->IsDecoded(); });
    EXPECT_TRUE(form().Cover(Page::TabSheet1)->IsDecoded());
    EXPECT_EQ(form().Cover(Page::TabSheet1)->ImageSize().cx, 438);
    EXPECT_EQ(form().Cover(Page::TabSheet1)->ImageSize().cy, 623);
    EXPECT_FALSE(form().Cover(Page::TabSheet4)->IsDecoded()) << "a page never shown never decodes its picture";

    // The picture fills its box to the last pixel, and nothing beyond it. The window is
    // moved where all of it is on the screen (at 144 dpi it reaches past the right edge).
    RECT placed{};
    GetWindowRect(form().Handle(), &placed);
    SetWindowPos(form().Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(form().Handle());
    const HWND cover = form().Cover(Page::TabSheet1)->Handle();
    RECT box{};
    GetClientRect(cover, &box);
    WindowDcForTest coverDc(cover), pageDc(GetParent(cover));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (POINT corner : {POINT{0, 0}, POINT{box.right - 1, 0}, POINT{0, box.bottom - 1},
                         POINT{box.right - 1, box.bottom - 1}}) {
        const COLORREF pixel = GetPixel(coverDc.dc, corner.x, corner.y);
        EXPECT_NE(pixel, CLR_INVALID);
        EXPECT_NE(pixel, face) << corner.x << "," << corner.y;
    }
    RECT onPage = RectIn(cover, GetParent(cover));
    EXPECT_EQ(GetPixel(pageDc.dc, onPage.right, onPage.bottom), face) << "just outside the box";
    SetWindowPos(form().Handle(), nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    form().PageControl1().SetActivePage(3);
    Pump([] { return form().Cover(Page::TabSheet4)->IsDecoded(); });
    EXPECT_TRUE(form().Cover(Page::TabSheet4)->IsDecoded());
    form().PageControl1().SetActivePage(0);
    application_->ProcessMessages();
}

TEST_F(MainWindow, KeyboardMovesThroughTheActivePageAndChangesPages) {
    ui::PageControl& pages = form().PageControl1();
    const HWND tabs = pages.Handle();
    pages.SetActivePage(0);
    SetForegroundWindow(form().Handle());
    Pump([&] { return GetActiveWindow() == form().Handle(); });
    SetFocus(tabs);

    // Tab goes through the page's buttons in tab order and back to the tab strip; on
    // "НР 100" and "Другие НР" that order is not the columns' order.
    for (Page page : {Page::TabSheet1, Page::TabSheet2, Page::TabSheet4}) {
        SCOPED_TRACE(::testing::Message() << "page " << static_cast<int>(page) + 1);
        const int index = static_cast<int>(page);
        for (int steps = 0; pages.ActivePageIndex() != index && steps < kPageCount; ++steps) {
            const int from = pages.ActivePageIndex();
            ASSERT_TRUE(PressUntil({VK_CONTROL, VK_TAB}, [&] { return pages.ActivePageIndex() != from; }));
        }
        ASSERT_EQ(pages.ActivePageIndex(), index);
        for (ui::Button* button : ButtonsOn(page))
            ASSERT_EQ(PressAndSettle({VK_TAB}, button->Handle()), button->Handle()) << WindowText(button->Handle());
        EXPECT_EQ(PressAndSettle({VK_TAB}, tabs), tabs);
        const HWND last = ButtonsOn(page).back()->Handle();
        EXPECT_EQ(PressAndSettle({VK_SHIFT, VK_TAB}, last), last) << "Shift+Tab goes back";
        EXPECT_EQ(PressAndSettle({VK_TAB}, tabs), tabs);
    }

    // Ctrl+Tab and Ctrl+Shift+Tab wrap around at both ends.
    pages.SetActivePage(0);
    PressUntil({VK_CONTROL, VK_SHIFT, VK_TAB}, [&] { return pages.ActivePageIndex() != 0; });
    EXPECT_EQ(pages.ActivePageIndex(), 4) << "from the first page back to TabSheet6";
    EXPECT_TRUE(IsWindowVisible(form().Sheet(Page::TabSheet6).Handle()));
    EXPECT_FALSE(IsWindowVisible(form().Sheet(Page::TabSheet1).Handle()));
    PressUntil({VK_CONTROL, VK_TAB}, [&] { return pages.ActivePageIndex() != 4; });
    EXPECT_EQ(pages.ActivePageIndex(), 0) << "from TabSheet6 on to the first page";
    EXPECT_TRUE(IsWindowVisible(form().Sheet(Page::TabSheet1).Handle()));
    for (int expected : {1, 2, 3, 4, 0})
        EXPECT_TRUE(PressUntil({VK_CONTROL, VK_TAB}, [&] { return pages.ActivePageIndex() == expected; }))
            << "page " << expected + 1;
    EXPECT_EQ(GetFocus(), tabs) << "the tab strip keeps the focus";

    // The focus does not stay behind on a page that goes out of sight.
    const HWND first = ButtonsOn(Page::TabSheet1).front()->Handle();
    SetFocus(first);
    PressUntil({VK_CONTROL, VK_TAB}, [&] { return pages.ActivePageIndex() == 1; });
    EXPECT_EQ(GetFocus(), ButtonsOn(Page::TabSheet2).front()->Handle());
    pages.SetActivePage(0);
    SetFocus(tabs);
}

TEST_F(MainWindow, EnterAndSpacePressTheFocusedButtonEscapeNothing) {
    const CatalogueEntry& order = CatalogueEntries()[0];
    ASSERT_STREQ(order.caption, L"Приказ");
    const std::wstring target = TargetPath(order);
    const HWND button = form().Buttons()[0]->Handle();
    form().PageControl1().SetActivePage(0);
    DeleteFileW(target.c_str());
    SetFocus(button);

    PressAndIdle({VK_ESCAPE});
    EXPECT_FALSE(IsFile(target)) << "Escape presses nothing";
    EXPECT_EQ(FindErrorBox(GetCurrentProcessId()), nullptr);

    EXPECT_TRUE(PressUntil({VK_RETURN}, [&] { return IsFile(target); })) << "Enter presses the focused button";
    DeleteFileW(target.c_str());

    EXPECT_TRUE(PressUntil({VK_SPACE}, [&] { return IsFile(target); })) << "Space presses the focused button";
    DeleteFileW(target.c_str());
    EXPECT_EQ(GetFocus(), button);
}

TEST_F(MainWindow, RescalesWhenMovedToAnotherDensity) {
    const UINT original = dpi();
    const UINT other = original == 96 ? 144 : 96;  // a size that still fits the screen
    for (UINT target : {other, original}) {
        SCOPED_TRACE(::testing::Message() << "dpi " << target);
        RECT suggested{556, 404, 556 + 100, 404 + 100};
        SendMessageW(form().Handle(), WM_DPICHANGED, MAKEWPARAM(target, target), reinterpret_cast<LPARAM>(&suggested));
        RECT client{};
        GetClientRect(form().Handle(), &client);
        EXPECT_EQ(client.right, ui::ScaleToDpi(592, target));
        EXPECT_EQ(client.bottom, ui::ScaleToDpi(356, target));
        EXPECT_RECT(RectIn(form().PageControl1().Handle(), form().Handle()), Scaled(8, 8, 577, 337, target));
        EXPECT_EQ(FontOf(form().PageControl1().Handle()).lfHeight, -ui::ScaleToDpi(11, target));
        const HWND last = form().Buttons().back()->Handle();  // Button44 on TabSheet6
        EXPECT_RECT(RectIn(last, GetParent(last)), Scaled(416, 144, 81, 25, target));
        EXPECT_EQ(FontOf(last).lfHeight, -ui::ScaleToDpi(11, target));
        ui::Picture& cover = *form().Cover(Page::TabSheet3);
        EXPECT_RECT(RectIn(cover.Handle(), GetParent(cover.Handle())), Scaled(392, 16, 161, 225, target));
        EXPECT_RECT(RectIn(form().Sheet(Page::TabSheet2).Handle(), form().PageControl1().Handle()),
                    form().PageControl1().PageArea());
    }
}

}  // namespace
}  // namespace korventa

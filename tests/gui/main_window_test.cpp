// The main window as the program builds it, inspected in process.
#include <gtest/gtest.h>

#include <string>

#include "app/control_access.h"
#include "app/control_table.h"
#include "app/main_window.h"
#include "tests/support/gui.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

using testing::ClientSnapshot;
using testing::ScopedMainWindow;

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::remove_settings_file();
        ASSERT_TRUE(main_.built());
    }
    ScopedMainWindow main_;
};

std::string class_of(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string text_of(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST_F(MainWindowTest, HasItsFixedSizePlaceFrameAndIcons) {
    HWND w = main_.window();
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 327);
    EXPECT_EQ(r.bottom - r.top, 194);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 327) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 194) / 2);

    const DWORD style = GetWindowLongA(w, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD | WS_POPUP), 0u);
    // The system adds WS_EX_WINDOWEDGE to every captioned window.
    EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(text_of(w), "Tolvane");

    EXPECT_EQ(GetClassLongA(w, GCL_STYLE), CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
    EXPECT_EQ(GetClassLongPtrA(w, GCLP_HBRBACKGROUND), 0);
    EXPECT_EQ(GetClassLongPtrA(w, GCLP_HICON), 0);

    const SIZE big =
        testing::icon_size(reinterpret_cast<HICON>(SendMessageA(w, WM_GETICON, ICON_BIG, 0)));
    const SIZE small =
        testing::icon_size(reinterpret_cast<HICON>(SendMessageA(w, WM_GETICON, ICON_SMALL, 0)));
    EXPECT_EQ(big.cx, 32);
    EXPECT_EQ(big.cy, 32);
    EXPECT_EQ(small.cx, 16);
    EXPECT_EQ(small.cy, 16);
}

TEST_F(MainWindowTest, ShowsNoMenuBarAndCannotBeSizedOrMaximised) {
    HWND w = main_.window();
    HMENU menu = GetMenu(w);
    EXPECT_TRUE(menu == nullptr || GetMenuItemCount(menu) == 0);
    // The client area is the window less caption and frame only.
    RECT client, outer;
    GetClientRect(w, &client);
    GetWindowRect(w, &outer);
    RECT expected = client;
    AdjustWindowRectEx(&expected, GetWindowLongA(w, GWL_STYLE), FALSE,
                       GetWindowLongA(w, GWL_EXSTYLE));
    EXPECT_EQ(expected.bottom - expected.top, outer.bottom - outer.top);

    // No sizing edge anywhere on the frame (the style checks cover the
    // maximise box).
    for (POINT p : {POINT{outer.right - 1, outer.bottom - 1}, POINT{outer.left, outer.top + 50}}) {
        const LRESULT hit = SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
        EXPECT_TRUE(hit < HTSIZEFIRST || hit > HTSIZELAST) << hit;
    }
}

TEST_F(MainWindowTest, HasTheThirteenControlsAsDefined) {
    int visible = 0;
    for (const ControlDefinition& definition : kControlDefinitions) {
        SCOPED_TRACE(static_cast<int>(definition.control));
        HWND c = main_.control(definition.control);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(GetParent(c), main_.window());

        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, main_.window(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, definition.left);
        EXPECT_EQ(r.top, definition.top);
        EXPECT_EQ(r.right - r.left, definition.width);
        EXPECT_EQ(r.bottom - r.top, definition.height);
        // The start-up sequence has already written the connection state.
        if (definition.control != Control::标签1) {
            EXPECT_EQ(text_of(c), definition.text);
        }
        EXPECT_EQ(IsWindowVisible(c) != 0, definition.visible);
        EXPECT_TRUE(IsWindowEnabled(c));
        EXPECT_EQ(
            reinterpret_cast<HGDIOBJ>(SendMessageA(c, WM_GETFONT, 0, 0)),
            definition.kind == ControlKind::label ? nullptr : GetStockObject(DEFAULT_GUI_FONT));
        visible += IsWindowVisible(c) ? 1 : 0;

        const DWORD style = GetWindowLongA(c, GWL_STYLE);
        const DWORD ex = GetWindowLongA(c, GWL_EXSTYLE);
        EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS),
                  static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS));
        EXPECT_EQ((style & WS_TABSTOP) != 0, definition.tab_stop);
        switch (definition.kind) {
            case ControlKind::edit_box:
            case ControlKind::masked_edit_box:
                EXPECT_EQ(class_of(c), "Edit");
                EXPECT_TRUE(style & ES_AUTOHSCROLL);
                EXPECT_EQ((style & ES_PASSWORD) != 0,
                          definition.kind == ControlKind::masked_edit_box);
                EXPECT_EQ(style & (ES_UPPERCASE | ES_LOWERCASE | ES_READONLY | ES_NUMBER |
                                   ES_MULTILINE | ES_NOHIDESEL),
                          0u);
                EXPECT_TRUE(ex & WS_EX_CLIENTEDGE);
                break;
            case ControlKind::button:
                EXPECT_EQ(class_of(c), "Button");
                EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
                EXPECT_EQ(style & (BS_MULTILINE | BS_CENTER | BS_VCENTER),
                          static_cast<DWORD>(BS_MULTILINE | BS_CENTER | BS_VCENTER));
                break;
            case ControlKind::check_box:
                EXPECT_EQ(class_of(c), "Button");
                EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTOCHECKBOX));
                EXPECT_EQ(style & (BS_MULTILINE | BS_CENTER | BS_VCENTER),
                          static_cast<DWORD>(BS_MULTILINE | BS_LEFT | BS_VCENTER));
                EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_UNCHECKED);
                break;
            case ControlKind::label:
                EXPECT_EQ(class_of(c), "TolvaneLabel");
                EXPECT_EQ(ex, 0u);
                EXPECT_EQ(style & (WS_BORDER | WS_TABSTOP), 0u);
                break;
        }
    }
    EXPECT_EQ(visible, 12);
    EXPECT_FALSE(IsWindowVisible(main_.control(Control::标签6)));
}

TEST_F(MainWindowTest, PasswordBoxMasksButReturnsTheTypedText) {
    HWND box = main_.control(Control::编辑框3);
    EXPECT_EQ(SendMessageA(box, EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_EQ(SendMessageA(box, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE) << "no limit of our own";
    testing::make_foreground(main_.window());
    SetFocus(box);
    for (WORD vk : {'S', 'E', 'C', 'R', 'E', 'T', '7'})
        testing::press_key(vk);
    testing::pump_until([&] { return GetWindowTextLengthA(box) == 7; });
    EXPECT_STREQ(get_control_text(Control::编辑框3).c_str(), "secret7");
    EXPECT_EQ(get_control_text(Control::编辑框2).get(), nullptr) << "empty comes back missing";
}

TEST_F(MainWindowTest, LabelsDrawTheirWindowTextEvenWhenSetDirectly) {
    HWND status = main_.control(Control::标签1);
    const COLORREF blue = RGB(0, 136, 255);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    SetWindowTextA(status, "");
    InvalidateRect(status, nullptr, TRUE);
    UpdateWindow(main_.window());
    testing::pump_for(50);
    RECT all = {0, 0, 87, 18};
    {
        ClientSnapshot empty(status);
        EXPECT_EQ(empty.count_colour(all, face), 87 * 18) << "an empty label is only background";
    }

    SetWindowTextA(status, "连接成功");
    InvalidateRect(status, nullptr, TRUE);
    UpdateWindow(status);
    testing::pump_for(50);
    ClientSnapshot shown(status);
    EXPECT_GT(shown.count_near(all, blue, 24), 10);

    // The black captions of the other labels.
    ClientSnapshot account(main_.control(Control::标签3));
    RECT caption = {0, 0, 26, 24};
    EXPECT_GT(account.count_near(caption, RGB(0, 0, 0), 0x50), 10);
    EXPECT_EQ(account.count_near(caption, blue, 24), 0);
}

TEST_F(MainWindowTest, SetControlTextRepaintsALabelAndControlOperationsWork) {
    set_control_text(Control::标签1, "已经连接");
    EXPECT_STREQ(get_control_text(Control::标签1).c_str(), "已经连接");
    set_control_text(Control::标签1, nullptr);
    EXPECT_EQ(get_control_text(Control::标签1).get(), nullptr);

    set_control_disabled(Control::编辑框2, true);
    EXPECT_FALSE(IsWindowEnabled(main_.control(Control::编辑框2)));
    set_control_disabled(Control::编辑框2, false);
    EXPECT_TRUE(IsWindowEnabled(main_.control(Control::编辑框2)));

    set_control_checked(Control::选择框2, true);
    EXPECT_TRUE(is_control_checked(Control::选择框2));
    EXPECT_FALSE(is_control_checked(Control::选择框1));
    set_control_checked(Control::选择框2, false);
    EXPECT_FALSE(is_control_checked(Control::选择框2));

    EXPECT_EQ(control_window_handle(Control::main_window), main_.window());
}

TEST_F(MainWindowTest, ClickingACheckBoxTogglesOnlyItsTick) {
    HWND box = main_.control(Control::选择框1);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_TRUE(is_control_checked(Control::选择框1));
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_FALSE(is_control_checked(Control::选择框1));
    EXPECT_TRUE(IsWindow(main_.window()));
}

TEST_F(MainWindowTest, DestroyIsPostedAndNeedsTheMark) {
    HWND w = main_.window();
    // Without the mark the message does nothing.
    SendMessageA(w, 0x8065, 0, 0);
    EXPECT_TRUE(IsWindow(w));

    destroy_main_window();
    EXPECT_TRUE(IsWindow(w)) << "returns before the window goes";
    testing::pump_until([&] { return !IsWindow(w); }, 2000);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(control_window_handle(Control::标签1), nullptr);
    EXPECT_EQ(control_window_handle(Control::main_window), nullptr);
    EXPECT_EQ(current_main_window(), nullptr);
}

}  // namespace
}  // namespace tolvane

// The control skin on the real main window, read back from the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include <optional>
#include <vector>

#include "app/control_access.h"
#include "app/control_table.h"
#include "style/skin_colour.h"
#include "style/skin_testing.h"
#include "style/visual_style.h"
#include "tests/support/gui.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

using testing::ClientSnapshot;
using testing::pump_for;
using testing::pump_until;
using testing::ScopedMainWindow;

constexpr COLORREF kPushBorder = 0x066237;
constexpr COLORREF kRingTop = 0xFFFFFF;
constexpr COLORREF kRingBottom = 0xD6DFE2;
constexpr COLORREF kHotRingBottom = 0x0097E5;
constexpr COLORREF kFaceTop = 0xFBFCFC;
constexpr COLORREF kFaceBottom = 0xC9E1EC;
constexpr COLORREF kPressed = 0xCEE3EF;
constexpr COLORREF kDisabledFace = 0xEAF4F5;
constexpr COLORREF kDisabledCaption = 0x94A2A5;
constexpr COLORREF kBoxBorder = 0x845118;
constexpr COLORREF kTick = 0x21A221;
constexpr COLORREF kEditFrame = 0x7FB9A4;

COLORREF face() {
    return GetSysColor(COLOR_BTNFACE);
}

// Clicks reaching the program's window procedure, seen by a hook.
HWND g_clicked_watch = nullptr;
int g_clicks = 0;

LRESULT CALLBACK watch_clicks(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call->message == WM_COMMAND && HIWORD(call->wParam) == BN_CLICKED &&
        reinterpret_cast<HWND>(call->lParam) == g_clicked_watch) {
        ++g_clicks;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The bounding box of the caption's dark pixels.
std::optional<Box> dark_pixels(const ClientSnapshot& shot, const RECT& area) {
    std::optional<Box> box;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF p = shot.pixel(x, y);
            if (GetRValue(p) + GetGValue(p) + GetBValue(p) > 3 * 0x50)
                continue;
            if (!box) {
                box = Box{x, y, x + 1, y + 1};
            } else {
                box->left = std::min(box->left, x);
                box->top = std::min(box->top, y);
                box->right = std::max(box->right, x + 1);
                box->bottom = std::max(box->bottom, y + 1);
            }
        }
    }
    return box;
}

COLORREF darkest_pixel(const ClientSnapshot& shot, const RECT& area) {
    COLORREF darkest = RGB(255, 255, 255);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF p = shot.pixel(x, y);
            if (GetRValue(p) + GetGValue(p) + GetBValue(p) <
                GetRValue(darkest) + GetGValue(darkest) + GetBValue(darkest)) {
                darkest = p;
            }
        }
    }
    return darkest;
}

// Has Wine put what was drawn on the screen (window surfaces reach the
// display when the thread waits); dispatches nothing.
void flush_to_screen() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
}

class SkinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::remove_settings_file();
        ASSERT_TRUE(main_.built());
        testing::make_foreground(main_.window());
        park_mouse();
    }
    void TearDown() override {
        testing::mouse_button(true, false);
        park_mouse();
    }

    HWND control(Control c) const { return main_.control(c); }

    // Away from every window.
    void park_mouse() {
        testing::move_mouse_to(0, 0);
        pump_for(80);
    }
    void move_onto(HWND window, int x, int y) {
        const POINT p = testing::client_to_screen(window, x, y);
        testing::move_mouse_to(p.x, p.y);
    }
    // Pumps until the control's pixel shows the colour.
    bool wait_for_pixel(HWND window, int x, int y, COLORREF colour) {
        return pump_until([&] { return ClientSnapshot(window).pixel(x, y) == colour; }, 2000);
    }

    ScopedMainWindow main_;
};

TEST_F(SkinTest, TakesTheButtonsCheckBoxesAndEditBoxesOnly) {
    for (const ControlDefinition& definition : kControlDefinitions) {
        SCOPED_TRACE(static_cast<int>(definition.control));
        EXPECT_EQ(is_control_skinned(control(definition.control)),
                  definition.kind != ControlKind::label);
    }
    EXPECT_FALSE(is_control_skinned(main_.window()));
    EXPECT_EQ(skinned_control_count(), 8u);
}

TEST_F(SkinTest, PushButtonNormalLook) {
    HWND button = control(Control::按钮2);  // 96 × 32
    ClientSnapshot shot(button);
    EXPECT_EQ(shot.pixel(0, 16), face()) << "the ring of button face around the border";
    EXPECT_EQ(shot.pixel(1, 16), kPushBorder);
    EXPECT_EQ(shot.pixel(94, 16), kPushBorder);
    EXPECT_EQ(shot.pixel(48, 1), kPushBorder);
    EXPECT_EQ(shot.pixel(48, 30), kPushBorder);
    EXPECT_NE(shot.pixel(1, 1), kPushBorder) << "rounded corners";
    EXPECT_EQ(shot.pixel(48, 2), kRingTop);
    EXPECT_EQ(shot.pixel(48, 29), kRingBottom);
    EXPECT_EQ(shot.pixel(2, 2 + 13), shot.pixel(93, 2 + 13)) << "the ring's gradient is vertical";
    EXPECT_EQ(shot.pixel(8, 4), kFaceTop);
    EXPECT_EQ(shot.pixel(8, 27), kFaceBottom);
    const auto caption = dark_pixels(shot, {4, 4, 92, 28});
    ASSERT_TRUE(caption.has_value()) << "black caption";
    // "连接" in the middle of the face.
    EXPECT_NEAR((caption->left + caption->right) / 2, 48, 3);
    EXPECT_NEAR((caption->top + caption->bottom) / 2, 16, 3);
}

TEST_F(SkinTest, PushButtonTurnsHotUnderTheMouseAndBackWhenItLeaves) {
    HWND button = control(Control::按钮2);
    move_onto(button, 30, 12);
    EXPECT_TRUE(wait_for_pixel(button, 48, 29, kHotRingBottom)) << "orange at the ring's bottom";
    EXPECT_EQ(ClientSnapshot(button).pixel(48, 2), 0xCFF0FF);
    EXPECT_EQ(ClientSnapshot(button).pixel(8, 4), kFaceTop) << "the face stays";
    park_mouse();
    EXPECT_TRUE(wait_for_pixel(button, 48, 29, kRingBottom));
}

TEST_F(SkinTest, EnteringWithTheLeftButtonHeldIsNotHot) {
    HWND button = control(Control::按钮2);
    // Pressed on the window's empty background, then dragged onto the button.
    const POINT start = testing::client_to_screen(main_.window(), 200, 156);
    testing::move_mouse_to(start.x, start.y);
    pump_for(60);
    testing::mouse_button(true, true);
    pump_for(60);
    move_onto(button, 30, 12);
    pump_for(200);
    EXPECT_EQ(ClientSnapshot(button).pixel(48, 29), kRingBottom);
    testing::mouse_button(true, false);
    pump_for(100);
    EXPECT_EQ(ClientSnapshot(button).pixel(48, 29), kRingBottom);
    // The next move without a button held makes it hot.
    move_onto(button, 32, 14);
    EXPECT_TRUE(wait_for_pixel(button, 48, 29, kHotRingBottom));
}

TEST_F(SkinTest, PressedButtonIsFlatWithItsCaptionMovedAndTheClickReachesTheProgram) {
    HWND button = control(Control::按钮2);
    const auto normal = dark_pixels(ClientSnapshot(button), {5, 5, 91, 27});
    ASSERT_TRUE(normal.has_value());

    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watch_clicks, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    g_clicked_watch = button;
    g_clicks = 0;

    move_onto(button, 30, 12);
    ASSERT_TRUE(wait_for_pixel(button, 48, 29, kHotRingBottom));
    testing::mouse_button(true, true);
    EXPECT_TRUE(wait_for_pixel(button, 8, 16, kPressed));
    {
        ClientSnapshot pressed(button);
        EXPECT_EQ(pressed.pixel(48, 2), kPressed) << "the ring is flat too";
        EXPECT_EQ(pressed.pixel(48, 29), kPressed);
        EXPECT_EQ(pressed.pixel(1, 16), kPushBorder);
        // Inside the focus dots, which the press brought.
        const auto moved = dark_pixels(pressed, {5, 5, 92, 28});
        ASSERT_TRUE(moved.has_value());
        EXPECT_EQ(moved->left, normal->left + 1);
        EXPECT_EQ(moved->top, normal->top + 1);
        EXPECT_EQ(moved->right, normal->right + 1);
        EXPECT_EQ(moved->bottom, normal->bottom + 1);
    }
    EXPECT_EQ(g_clicks, 0);
    testing::mouse_button(true, false);
    pump_until([] { return g_clicks > 0; }, 2000);
    EXPECT_EQ(g_clicks, 1) << "BN_CLICKED reached the main window";
    UnhookWindowsHookEx(hook);
    // Released: not flat any more (hot and focused now).
    EXPECT_TRUE(wait_for_pixel(button, 48, 29, kHotRingBottom));
    EXPECT_EQ(ClientSnapshot(button).pixel(8, 4), kFaceTop);
}

TEST_F(SkinTest, FocusedButtonShowsTheOrangeRingAndDottedFocusRectangle) {
    HWND button = control(Control::按钮2);
    SetFocus(button);
    ASSERT_TRUE(wait_for_pixel(button, 48, 29, kHotRingBottom));
    ClientSnapshot shot(button);
    // A checkerboard of black dots on the ring 3 pixels inside the edge.
    for (int x = 10; x < 80; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(shot.pixel(x, 3) == 0x000000, (x - 3) % 2 == 0);
    }
    for (int y = 6; y < 26; ++y) {
        SCOPED_TRACE(y);
        EXPECT_EQ(shot.pixel(3, y) == 0x000000, (y - 3) % 2 == 0);
    }
    SetFocus(control(Control::编辑框2));
    EXPECT_TRUE(wait_for_pixel(button, 48, 29, kRingBottom));
    EXPECT_NE(ClientSnapshot(button).pixel(10, 3), 0x000000u);
}

TEST_F(SkinTest, DisabledButtonIsGreyWithItsOwnCaptionColour) {
    HWND button = control(Control::按钮2);
    EnableWindow(button, FALSE);
    pump_for(30);
    {
        ClientSnapshot shot(button);
        EXPECT_EQ(shot.pixel(1, 16), less_0x202020(face()));
        EXPECT_EQ(shot.pixel(8, 16), kDisabledFace);
        EXPECT_EQ(shot.pixel(48, 2), kDisabledFace);
        const RECT inside = {4, 4, 92, 28};
        EXPECT_FALSE(dark_pixels(shot, inside).has_value());
        // Anti-aliased: its darkest pixels are the caption colour.
        const COLORREF darkest = darkest_pixel(shot, inside);
        EXPECT_NEAR(GetRValue(darkest), GetRValue(kDisabledCaption), 0x10);
        EXPECT_NEAR(GetGValue(darkest), GetGValue(kDisabledCaption), 0x10);
        EXPECT_NEAR(GetBValue(darkest), GetBValue(kDisabledCaption), 0x10);
    }
    EnableWindow(button, TRUE);
    pump_for(30);
    EXPECT_EQ(ClientSnapshot(button).pixel(1, 16), kPushBorder);
    EXPECT_EQ(ClientSnapshot(button).pixel(8, 4), kFaceTop);
}

TEST_F(SkinTest, CheckBoxShowsItsBorderHotRingAndTickAfterClicks) {
    HWND box = control(Control::选择框1);  // 96 × 16: the box from (0, 1)
    {
        ClientSnapshot shot(box);
        EXPECT_EQ(shot.pixel(0, 7), kBoxBorder);
        EXPECT_EQ(shot.pixel(12, 7), kBoxBorder);
        EXPECT_EQ(shot.pixel(6, 1), kBoxBorder);
        EXPECT_EQ(shot.pixel(6, 13), kBoxBorder);
        EXPECT_EQ(shot.pixel(1, 2), 0xD6DFDE) << "face corners";
        EXPECT_EQ(shot.pixel(11, 2), 0xEFF3F7);
        EXPECT_EQ(shot.pixel(11, 12), 0xFFFFFF);
        EXPECT_EQ(shot.count_colour({0, 0, 13, 16}, kTick), 0);
        EXPECT_TRUE(dark_pixels(shot, {18, 0, 96, 16}).has_value()) << "caption from 18 on";
        EXPECT_FALSE(dark_pixels(shot, {13, 0, 17, 16}).has_value());
    }

    move_onto(box, 40, 8);
    ASSERT_TRUE(wait_for_pixel(box, 6, 7, 0xE7E7E7)) << "the grey inner square";
    {
        ClientSnapshot hot(box);
        EXPECT_EQ(hot.pixel(1, 2), 0xCEF3FF) << "the orange ring around it";
        EXPECT_EQ(hot.pixel(11, 12), 0x31B2FF);
        EXPECT_EQ(hot.pixel(0, 7), kBoxBorder);
    }

    testing::mouse_button(true, true);
    EXPECT_TRUE(wait_for_pixel(box, 1, 2, 0xA5B2B5)) << "pressed face";
    testing::mouse_button(true, false);
    ASSERT_TRUE(pump_until([&] { return is_control_checked(Control::选择框1); }, 2000));
    EXPECT_TRUE(pump_until(
        [&] {
            return ClientSnapshot(box).count_colour({0, 0, 13, 16}, kTick) == 21;
        },
        2000))
        << "seven strokes of three pixels";
    EXPECT_EQ(ClientSnapshot(box).pixel(7, 4), 0xF7F7F7) << "ticked and hot";

    testing::mouse_button(true, true);
    pump_for(50);
    testing::mouse_button(true, false);
    ASSERT_TRUE(pump_until([&] { return !is_control_checked(Control::选择框1); }, 2000));
    EXPECT_TRUE(pump_until(
        [&] {
            return ClientSnapshot(box).count_colour({0, 0, 13, 16}, kTick) == 0;
        },
        2000));
}

TEST_F(SkinTest, EditFramesAreGreenGreyWhileDisabledAndGreenAgain) {
    HWND main = main_.window();
    // 编辑框2 at (45, 18), 144 × 32; 编辑框3 at (45, 62).
    auto expect_frame = [&](int top, COLORREF outer, COLORREF inner) {
        ClientSnapshot shot(main);
        EXPECT_EQ(shot.pixel(45, top + 16), outer);
        EXPECT_EQ(shot.pixel(45 + 143, top + 16), outer);
        EXPECT_EQ(shot.pixel(100, top), outer);
        EXPECT_EQ(shot.pixel(100, top + 31), outer);
        EXPECT_EQ(shot.pixel(46, top + 16), inner);
        EXPECT_EQ(shot.pixel(100, top + 1), inner);
        EXPECT_EQ(shot.pixel(100, top + 30), inner);
    };
    expect_frame(18, kEditFrame, GetSysColor(COLOR_WINDOW));
    expect_frame(62, kEditFrame, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(ClientSnapshot(main).pixel(120, 34), RGB(255, 255, 255)) << "the box's own inside";

    set_control_disabled(Control::编辑框2, true);
    pump_for(30);
    expect_frame(18, less_0x202020(face()), face());
    expect_frame(62, kEditFrame, GetSysColor(COLOR_WINDOW));

    set_control_disabled(Control::编辑框2, false);
    pump_for(30);
    expect_frame(18, kEditFrame, GetSysColor(COLOR_WINDOW));

    SendMessageA(control(Control::编辑框3), EM_SETREADONLY, TRUE, 0);
    pump_for(30);
    expect_frame(62, less_0x202020(face()), face());
    SendMessageA(control(Control::编辑框3), EM_SETREADONLY, FALSE, 0);
    pump_for(30);
    expect_frame(62, kEditFrame, GetSysColor(COLOR_WINDOW));
}

TEST(SkinAtStartUp, EditFramesLockedByTheStartUpSequenceAreGreyUntilSaved) {
    testing::write_settings_file("[用户参数]\r\n用户名=a0001\r\n密码=pw\r\n保存=1\r\n");
    {
        ScopedMainWindow main;
        ASSERT_TRUE(main.built());
        UpdateWindow(main.window());
        pump_for(50);
        auto frame = [&](int top) {
            ClientSnapshot shot(main.window());
            return std::make_pair(shot.pixel(45, top + 16), shot.pixel(46, top + 16));
        };
        const auto locked = std::make_pair(COLORREF{less_0x202020(face())}, face());
        EXPECT_EQ(frame(18), locked);
        EXPECT_EQ(frame(62), locked);

        SendMessageA(main.control(Control::按钮5), BM_CLICK, 0, 0);
        pump_for(50);
        const auto open = std::make_pair(COLORREF{kEditFrame}, GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(frame(18), open);
        EXPECT_EQ(frame(62), open);
    }
    testing::remove_settings_file();
}

// A window of the test's own with controls created after the start-up.
class HostWindow {
  public:
    HostWindow() {
        WNDCLASSA cls = {};
        cls.lpfnWndProc = DefWindowProcA;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        cls.lpszClassName = "SkinTestHost";
        RegisterClassA(&cls);
        window_ = CreateWindowExA(0, "SkinTestHost", "host", WS_POPUP | WS_VISIBLE, 10, 10, 320,
                                  240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~HostWindow() {
        if (window_)
            DestroyWindow(window_);
        pump_for(20);
    }
    HWND add(const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
             DWORD ex_style = 0) {
        HWND child = CreateWindowExA(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                     window_, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     TRUE);
        return child;
    }
    HWND window() const { return window_; }

  private:
    HWND window_ = nullptr;
};

TEST_F(SkinTest, ControlsCreatedLaterAreTakenWhileCreatedInEveryKind) {
    const std::size_t before = skinned_control_count();
    std::vector<HWND> taken;
    {
        HostWindow host;
        ASSERT_NE(host.window(), nullptr);
        HWND push = host.add("BUTTON", "新按钮", BS_PUSHBUTTON, 10, 10, 80, 28);
        HWND check = host.add("Button", "选择", BS_AUTOCHECKBOX, 10, 50, 120, 16);
        HWND radio = host.add("button", "单选", BS_AUTORADIOBUTTON, 10, 75, 120, 16);
        HWND group = host.add("BUTTON", "分组", BS_GROUPBOX, 150, 10, 150, 90);
        HWND edit = host.add("EDIT", "", ES_AUTOHSCROLL, 10, 100, 120, 24, WS_EX_CLIENTEDGE);
        HWND combo = host.add("COMBOBOX", "", CBS_DROPDOWNLIST, 150, 120, 120, 200);
        HWND pushlike = host.add("BUTTON", "开关", BS_AUTOCHECKBOX | BS_PUSHLIKE, 10, 140, 80, 28);
        HWND owner = host.add("BUTTON", "", BS_OWNERDRAW, 10, 180, 40, 20);
        HWND bitmap = host.add("BUTTON", "", BS_PUSHBUTTON | BS_BITMAP, 60, 180, 40, 20);
        HWND simple = host.add("COMBOBOX", "", CBS_SIMPLE, 150, 150, 100, 60);
        HWND label = host.add("STATIC", "标签", 0, 110, 180, 30, 16);
        taken = {push, check, radio, group, edit, combo, pushlike};
        for (HWND w : taken)
            EXPECT_TRUE(is_control_skinned(w));
        for (HWND w : {owner, bitmap, simple, label})
            EXPECT_FALSE(is_control_skinned(w));
        SendMessageA(pushlike, BM_SETCHECK, BST_CHECKED, 0);
        UpdateWindow(host.window());
        pump_for(50);

        EXPECT_EQ(ClientSnapshot(push).pixel(1, 14), kPushBorder);
        EXPECT_EQ(ClientSnapshot(push).pixel(8, 4), kFaceTop);
        EXPECT_EQ(ClientSnapshot(check).pixel(0, 7), kBoxBorder);
        EXPECT_EQ(ClientSnapshot(radio).pixel(0, 7), kBoxBorder) << "the circle's left edge";
        EXPECT_NE(ClientSnapshot(radio).pixel(0, 1), kBoxBorder) << "round, not square";
        EXPECT_EQ(ClientSnapshot(group).pixel(0, 50), kBoxBorder);
        EXPECT_EQ(ClientSnapshot(group).pixel(149, 50), kBoxBorder);
        EXPECT_EQ(ClientSnapshot(pushlike).pixel(8, 14), kPressed) << "a ticked push-like box";
        EXPECT_EQ(ClientSnapshot(host.window()).pixel(10, 112), kEditFrame);
        EXPECT_EQ(ClientSnapshot(combo).pixel(0, 10), kEditFrame);
        // And the drop-down list of the one combo box, and the edit box
        // of the simple one (which has no frame to draw).
        EXPECT_EQ(skinned_control_count(), before + taken.size() + 2);
    }
    // Destroyed controls have left the skin.
    EXPECT_EQ(skinned_control_count(), before);
    for (HWND w : taken)
        EXPECT_FALSE(is_control_skinned(w));
}

TEST_F(SkinTest, FollowsDefaultButtonsStyleChangesWideWindowsAndLeavesIpAddressFieldsAlone) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&classes);
    HostWindow host;
    ASSERT_NE(host.window(), nullptr);

    HWND default_button = host.add("BUTTON", "确定", BS_DEFPUSHBUTTON, 10, 10, 80, 28);
    pump_for(30);
    EXPECT_EQ(ClientSnapshot(default_button).pixel(40, 25), kHotRingBottom) << "default: orange";
    SendMessageA(default_button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    pump_for(30);
    EXPECT_EQ(ClientSnapshot(default_button).pixel(40, 25), kRingBottom);

    // Turned owner-drawn, a button leaves the skin with its own procedure.
    HWND turned = host.add("BUTTON", "", BS_PUSHBUTTON, 10, 50, 80, 28);
    ASSERT_TRUE(is_control_skinned(turned));
    SendMessageA(turned, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    EXPECT_FALSE(is_control_skinned(turned));
    EXPECT_EQ(GetWindowLongPtrA(turned, GWLP_WNDPROC), GetClassLongPtrA(turned, GCLP_WNDPROC));

    // A wide window stays wide under the skin.
    HWND wide =
        CreateWindowExW(0, L"BUTTON", L"\x5BBD", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 100, 10, 80,
                        28, host.window(), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(wide, nullptr);
    EXPECT_TRUE(is_control_skinned(wide));
    EXPECT_TRUE(IsWindowUnicode(wide));
    SetWindowTextW(wide, L"\x5BBD\x5B57");
    wchar_t text[8] = {};
    GetWindowTextW(wide, text, 8);
    EXPECT_STREQ(text, L"\x5BBD\x5B57");
    pump_for(30);
    EXPECT_EQ(ClientSnapshot(wide).pixel(1, 14), kPushBorder);

    HWND up_down = host.add(UPDOWN_CLASSA, "", 0, 200, 10, 20, 30);
    EXPECT_TRUE(is_control_skinned(up_down));
    pump_for(30);
    EXPECT_EQ(ClientSnapshot(up_down).pixel(0, 15), kEditFrame);

    HWND address = host.add(WC_IPADDRESSA, "", 0, 100, 60, 150, 24);
    ASSERT_NE(address, nullptr);
    int fields = 0;
    for (HWND f = GetWindow(address, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) {
        ++fields;
        EXPECT_FALSE(is_control_skinned(f));
    }
    EXPECT_EQ(fields, 4);
}

// Black pixels per row of a control.
std::vector<int> black_per_row(HWND window) {
    ClientSnapshot shot(window);
    std::vector<int> rows(static_cast<std::size_t>(shot.height()), 0);
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x)
            rows[static_cast<std::size_t>(y)] += shot.pixel(x, y) == 0x000000 ? 1 : 0;
    }
    return rows;
}

TEST_F(SkinTest, TheMnemonicIsUnderlined) {
    HostWindow host;
    HWND plain = host.add("BUTTON", "Save", BS_PUSHBUTTON | BS_LEFT, 10, 10, 80, 28);
    HWND marked = host.add("BUTTON", "&Save", BS_PUSHBUTTON | BS_LEFT, 10, 50, 80, 28);
    // Keyboard cues shown (with UISF_HIDEACCEL the underline is left out;
    // Wine keeps no such state to test it with).
    for (HWND b : {plain, marked})
        SendMessageA(b, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
    pump_for(30);
    ASSERT_EQ(SendMessageA(marked, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL, 0);
    const std::vector<int> without = black_per_row(plain);
    const std::vector<int> with = black_per_row(marked);

    HDC dc = GetDC(marked);
    HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE s = {};
    GetTextExtentPoint32A(dc, "S", 1, &s);
    SelectObject(dc, old_font);
    ReleaseDC(marked, dc);

    // The same caption plus one row: the underline under "S", as wide as
    // the letter.
    int rows_changed = 0;
    for (std::size_t y = 0; y < with.size(); ++y) {
        if (with[y] == without[y])
            continue;
        ++rows_changed;
        EXPECT_EQ(with[y] - without[y], s.cx) << "row " << y;
    }
    EXPECT_EQ(rows_changed, 1);
}

TEST_F(SkinTest, SpaceOnTheFocusedButtonStillClicksIt) {
    HWND button = control(Control::按钮2);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watch_clicks, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    g_clicked_watch = button;
    g_clicks = 0;
    SetFocus(button);
    testing::press_key(VK_SPACE);
    pump_until([] { return g_clicks > 0; }, 2000);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_clicks, 1);
    EXPECT_TRUE(wait_for_pixel(button, 48, 29, kHotRingBottom)) << "focused, not pressed";
    EXPECT_EQ(ClientSnapshot(button).pixel(8, 4), kFaceTop);
}

// Counts messages reaching a control's own procedure under the skin's.
WNDPROC g_counted_original = nullptr;
UINT g_counted_message = 0;
int g_counted = 0;
int g_paints = 0;

LRESULT CALLBACK counting_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == g_counted_message)
        ++g_counted;
    if (message == WM_PAINT)
        ++g_paints;
    return CallWindowProcA(g_counted_original, window, message, wparam, lparam);
}

TEST_F(SkinTest, SwitchingOffGivesTheOwnLookBackAndSwitchingOnTwiceTakesEachOnce) {
    HWND button = control(Control::按钮2);
    const auto class_procedure = GetClassLongPtrA(button, GCLP_WNDPROC);
    EXPECT_NE(GetWindowLongPtrA(button, GWLP_WNDPROC), class_procedure);

    EXPECT_EQ(set_visual_style(0), 0);
    pump_for(30);
    EXPECT_EQ(skinned_control_count(), 0u);
    EXPECT_EQ(GetWindowLongPtrA(button, GWLP_WNDPROC), class_procedure);
    EXPECT_EQ(GetWindowLongPtrA(control(Control::编辑框2), GWLP_WNDPROC),
              GetClassLongPtrA(control(Control::编辑框2), GCLP_WNDPROC));
    {
        ClientSnapshot shot(button);
        EXPECT_NE(shot.pixel(1, 16), kPushBorder);
        EXPECT_NE(shot.pixel(8, 4), kFaceTop);
        EXPECT_NE(ClientSnapshot(main_.window()).pixel(45, 34), kEditFrame);
    }

    // A procedure of someone else's under the skin's, to count what reaches it.
    g_counted_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_procedure)));
    EXPECT_EQ(set_visual_style(2), 1);
    EXPECT_EQ(set_visual_style(2), 1);
    EXPECT_EQ(skinned_control_count(), 8u);
    pump_for(30);
    EXPECT_EQ(ClientSnapshot(button).pixel(1, 16), kPushBorder);
    EXPECT_EQ(ClientSnapshot(main_.window()).pixel(45, 34), kEditFrame);

    g_counted = 0;
    g_counted_message = WM_USER + 7;
    SendMessageA(button, WM_USER + 7, 0, 0);
    EXPECT_EQ(g_counted, 1) << "a message that changes nothing arrives once";
    g_counted = 0;
    g_counted_message = BM_SETSTATE;
    SendMessageA(button, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(g_counted, 1);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    SendMessageA(button, BM_SETSTATE, FALSE, 0);
    g_paints = 0;
    InvalidateRect(button, nullptr, TRUE);
    UpdateWindow(button);
    EXPECT_EQ(g_paints, 0) << "the button's own painting never runs";

    EXPECT_EQ(set_visual_style(0), 0);
    EXPECT_EQ(GetWindowLongPtrA(button, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(counting_procedure));
    SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_counted_original));
    EXPECT_EQ(set_visual_style(2), 1);
    EXPECT_EQ(skinned_control_count(), 8u);
}

TEST_F(SkinTest, APassiveSkinProcedureUnderAnotherIsTakenUpAgainNotTwice) {
    HWND button = control(Control::按钮3);
    // Someone subclasses the skinned button: switching off cannot unhook
    // the skin, which then only passes messages on.
    g_counted_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_procedure)));
    EXPECT_EQ(set_visual_style(0), 0);
    EXPECT_FALSE(is_control_skinned(button));
    g_counted = 0;
    g_counted_message = WM_USER + 9;
    SendMessageA(button, WM_USER + 9, 0, 0);
    EXPECT_EQ(g_counted, 1);
    EXPECT_EQ(set_visual_style(2), 1);
    EXPECT_TRUE(is_control_skinned(button));
    EXPECT_EQ(skinned_control_count(), 8u);
    pump_for(30);
    EXPECT_EQ(ClientSnapshot(button).pixel(1, 16), kPushBorder);
    SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_counted_original));
}

// What the screen shows while the control's own handling has run but the
// skin has not drawn yet.
std::vector<COLORREF> g_seen;
HWND g_seen_window = nullptr;
int g_observed = 0;

std::vector<COLORREF> all_pixels(HWND window) {
    ClientSnapshot shot(window);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x)
            pixels.push_back(shot.pixel(x, y));
    }
    return pixels;
}

void observe(HWND window, UINT) {
    if (window == g_seen_window) {
        flush_to_screen();
        g_seen = all_pixels(window);
        ++g_observed;
    }
}

TEST_F(SkinTest, TheControlsOwnDrawingNeverReachesTheScreen) {
    // The button class's drawing, called past the skin, does reach it: the
    // screen is read soon enough to see it.
    {
        HWND button = control(Control::按钮3);
        flush_to_screen();
        const std::vector<COLORREF> before = all_pixels(button);
        const auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrA(button, GCLP_WNDPROC));
        CallWindowProcA(own, button, BM_SETSTATE, TRUE, 0);
        flush_to_screen();
        EXPECT_TRUE(all_pixels(button) != before);
        CallWindowProcA(own, button, BM_SETSTATE, FALSE, 0);
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    set_quiet_call_observer(observe);
    struct Case {
        Control control;
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
    };
    static const char kText[] = "新的";
    const Case cases[] = {
        {Control::按钮2, BM_SETSTATE, TRUE, 0},
        {Control::按钮2, BM_SETSTATE, FALSE, 0},
        {Control::按钮2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kText)},
        {Control::按钮2, WM_ENABLE, FALSE, 0},
        {Control::按钮2, WM_ENABLE, TRUE, 0},
        {Control::选择框1, BM_SETCHECK, BST_CHECKED, 0},
        {Control::选择框1, BM_SETSTATE, TRUE, 0},
        {Control::选择框1, BM_SETSTATE, FALSE, 0},
        {Control::选择框1, BM_SETCHECK, BST_UNCHECKED, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "message " << c.message << " wparam " << c.wparam);
        HWND window = control(c.control);
        const std::vector<COLORREF> before = all_pixels(window);
        g_seen_window = window;
        g_observed = 0;
        SendMessageA(window, c.message, c.wparam, c.lparam);
        EXPECT_EQ(g_observed, 1);
        EXPECT_TRUE(g_seen == before) << "the screen still showed the skin's last drawing";
        flush_to_screen();
        EXPECT_TRUE(all_pixels(window) != before) << "and then the skin's new one";
    }
    // The focus moving from button to button.
    SetFocus(control(Control::按钮3));
    pump_for(20);
    const std::vector<COLORREF> before = all_pixels(control(Control::按钮2));
    g_seen_window = control(Control::按钮2);
    g_observed = 0;
    SetFocus(control(Control::按钮2));
    EXPECT_EQ(g_observed, 1);
    EXPECT_TRUE(g_seen == before);
    set_quiet_call_observer(nullptr);
}

TEST_F(SkinTest, PaintsLeaveNoGdiObjectsBehind) {
    HWND button = control(Control::按钮2);
    HWND box = control(Control::选择框2);
    for (int i = 0; i < 200; ++i) {
        SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        SendMessageA(button, BM_SETSTATE, TRUE, 0);
        SendMessageA(button, BM_SETSTATE, FALSE, 0);
        SendMessageA(button, WM_MOUSELEAVE, 0, 0);
        SendMessageA(box, BM_SETCHECK, i % 2, 0);
        SetFocus(i % 2 ? button : box);
        set_control_disabled(Control::编辑框3, i % 2 == 0);
        RedrawWindow(main_.window(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    EXPECT_EQ(live_skin_gdi_objects(), 0);
}

}  // namespace
}  // namespace tolvane

#include "style/skin_paint.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "style/caption_layout.h"
#include "style/skin_gdi.h"

namespace tolvane {
namespace {

// The client size of a control about to be painted into `target`; none when
// there is nothing to paint.
std::optional<SIZE> paintable_client_size(HWND window, HDC target) {
    RECT client = {};
    if (target == nullptr || !GetClientRect(window, &client) || client.right <= 0 ||
        client.bottom <= 0) {
        return std::nullopt;
    }
    return SIZE{client.right, client.bottom};
}

// A top-down 32-bit DIB section selected into a memory DC for one paint.
class OffscreenBitmap {
  public:
    OffscreenBitmap(int width, int height)
        : width_(width),
          height_(height),
          dc_(width > 0 && height > 0 ? CreateCompatibleDC(nullptr) : nullptr),
          bitmap_(make(dc_.get())) {
        if (dc_ && bitmap_)
            previous_ = SelectObject(dc_.get(), bitmap_.get());
    }
    // The size of `window`'s client area, about to be painted into
    // `target`; not ready when there is nothing to paint.
    OffscreenBitmap(HWND window, HDC target)
        : OffscreenBitmap(paintable_client_size(window, target).value_or(SIZE{0, 0})) {}
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;
    ~OffscreenBitmap() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR)
            SelectObject(dc_.get(), previous_);
    }

    bool ready() const { return previous_ != nullptr && previous_ != HGDI_ERROR && bits_; }
    int width() const { return width_; }
    int height() const { return height_; }
    HDC dc() const { return dc_.get(); }
    // The pixels, once GDI has finished what it was asked to draw.
    Canvas canvas() {
        GdiFlush();
        return Canvas(bits_, width_, height_);
    }
    void copy_to(HDC target) const {
        BitBlt(target, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
    }

  private:
    explicit OffscreenBitmap(SIZE size) : OffscreenBitmap(size.cx, size.cy) {}

    HBITMAP make(HDC dc) {
        if (dc == nullptr)
            return nullptr;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // rows from the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = bitmap ? static_cast<std::uint32_t*>(bits) : nullptr;
        return bitmap;
    }

    int width_;
    int height_;
    std::uint32_t* bits_ = nullptr;
    SkinMemoryDc dc_;
    SkinBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
};

// A DC of a window from GetWindowDC or GetDCEx, given back at the end of
// the scope.
class BorrowedDc {
  public:
    BorrowedDc(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {}
    BorrowedDc(const BorrowedDc&) = delete;
    BorrowedDc& operator=(const BorrowedDc&) = delete;
    ~BorrowedDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Clipping changes on a DC that is not the skin's, undone at the end.
class SavedDcState {
  public:
    explicit SavedDcState(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;
    ~SavedDcState() {
        if (saved_ != 0)
            RestoreDC(dc_, saved_);
    }

  private:
    HDC dc_;
    int saved_;
};

Colour system_colour(int index) {
    return static_cast<Colour>(GetSysColor(index));
}

// The parent's brush for the control, asked with the memory DC, which also
// receives the parent's text colour.
HBRUSH parent_brush(HWND control, HDC dc) {
    HWND parent = GetParent(control);
    if (parent == nullptr)
        parent = control;
    const WPARAM w = reinterpret_cast<WPARAM>(dc);
    const LPARAM l = reinterpret_cast<LPARAM>(control);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, WM_CTLCOLORBTN, w, l));
    if (brush == nullptr)  // a parent that forgot its default processing
        brush = reinterpret_cast<HBRUSH>(DefWindowProcA(parent, WM_CTLCOLORBTN, w, l));
    if (brush == nullptr)
        brush = GetSysColorBrush(COLOR_BTNFACE);
    return brush;
}

// The window's text and its length in bytes.
struct WindowCaption {
    std::unique_ptr<char[]> bytes;
    std::size_t length = 0;
    std::string_view view() const { return {bytes.get(), length}; }
};

WindowCaption window_caption(HWND window) {
    WindowCaption caption;
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return caption;
    caption.bytes.reset(new char[static_cast<std::size_t>(length) + 1]());
    const int got = GetWindowTextA(window, caption.bytes.get(), length + 1);
    // Up to the terminator within the count: nothing the platform did not
    // write.
    caption.length =
        strnlen(caption.bytes.get(), static_cast<std::size_t>(std::clamp(got, 0, length)));
    return caption;
}

struct CaptionFont {
    int line_height;
    int ascent;
};

CaptionFont caption_font(HDC dc) {
    TEXTMETRICA metrics = {};
    if (!GetTextMetricsA(dc, &metrics))
        return {16, 13};
    return {static_cast<int>(metrics.tmHeight), static_cast<int>(metrics.tmAscent)};
}

int text_width(void* dc, const char* character, std::size_t length) {
    SIZE size = {};
    GetTextExtentPoint32A(static_cast<HDC>(dc), character, static_cast<int>(length), &size);
    return static_cast<int>(size.cx);
}

CaptionLayout lay_out(HDC dc, std::string_view caption, const PixelRect& area, int line_height,
                      CaptionPlacement placement) {
    return lay_out_caption(caption, area.width(), area.height(), line_height, placement, text_width,
                           dc);
}

// The lines with GDI, clipped to the caption area, then the mnemonic's
// underline one pixel below the base line.
void draw_caption(OffscreenBitmap& off, const CaptionLayout& layout, const PixelRect& area,
                  Colour colour, bool underline, int ascent) {
    if (layout.lines.empty() || area.empty())
        return;
    HDC dc = off.dc();
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    for (const CaptionLine& line : layout.lines) {
        if (line.length == 0)
            continue;
        TextOutA(dc, area.left + line.x, area.top + line.y, layout.text().data() + line.begin,
                 static_cast<int>(line.length));
    }
    SelectClipRgn(dc, nullptr);
    if (underline && layout.mnemonic) {
        const CaptionMnemonic& m = *layout.mnemonic;
        const int y = area.top + layout.lines[m.line].y + ascent + 1;
        if (y >= area.top && y < area.bottom) {
            Canvas canvas = off.canvas();
            canvas.horizontal_line(std::max(area.left, area.left + m.x),
                                   std::min(area.right, area.left + m.x + m.width), y, colour);
        }
    }
}

bool shows_mnemonics(const SkinnedControl& control) {
    const LRESULT state = call_original(control, WM_QUERYUISTATE, 0, 0);
    return (state & UISF_HIDEACCEL) == 0;
}

// The focus dots around a box's caption, kept inside the control.
PixelRect caption_focus_rect(const CaptionLayout& layout, const PixelRect& area, int width,
                             int height) {
    const CaptionLayout::Bounds b = layout.bounds();
    return {std::max(area.left + b.left - 1, 0), std::max(area.top + b.top - 1, 0),
            std::min(area.left + b.right + 1, width), std::min(area.top + b.bottom + 1, height)};
}

}  // namespace

void paint_button_control(SkinnedControl control, int scheme_number, HDC target) {
    OffscreenBitmap off(control.window, target);
    if (!off.ready())
        return;
    const int width = off.width();
    const int height = off.height();
    HDC dc = off.dc();

    auto font = reinterpret_cast<HGDIOBJ>(call_original(control, WM_GETFONT, 0, 0));
    ScopedSelect font_choice(dc, font ? font : GetStockObject(SYSTEM_FONT));
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, parent_brush(control.window, dc));
    const Colour parent_text = static_cast<Colour>(GetTextColor(dc));

    const SchemeColours& scheme = scheme_colours(scheme_number);
    const Colour face = system_colour(COLOR_BTNFACE);
    const ButtonLook& look = control.look;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(control.window, GWL_STYLE));
    const CaptionPlacement placement = caption_placement_for(control.kind, style);
    const CaptionFont metrics = caption_font(dc);
    const WindowCaption owned_caption = window_caption(control.window);
    const std::string_view caption = owned_caption.view();
    const bool underline = shows_mnemonics(control);

    switch (control.kind) {
        case SkinKind::push_button: {
            Canvas canvas = off.canvas();
            draw_push_button(canvas, scheme, face, look);
            const PixelRect area = push_caption_area(width, height, look);
            const CaptionLayout layout = lay_out(dc, caption, area, metrics.line_height, placement);
            draw_caption(off, layout, area, push_caption_colour(scheme, look), underline,
                         metrics.ascent);
            if (look.focused && !look.disabled) {
                Canvas after = off.canvas();
                draw_focus_dots(after, scheme, push_focus_rect(width, height));
            }
            off.copy_to(target);
            return;
        }
        case SkinKind::check_box:
        case SkinKind::radio_button: {
            // BS_LEFTTEXT puts the box on the right.
            const bool box_right = (style & BS_LEFTTEXT) != 0;
            const int box_left = box_right ? width - kBoxSize : 0;
            Canvas canvas = off.canvas();
            if (control.kind == SkinKind::check_box) {
                draw_check_box(canvas, scheme, face, look, box_left,
                               box_top(height, placement.vertical));
            } else {
                draw_radio_button(canvas, scheme, face, look, box_left,
                                  box_top(height, placement.vertical));
            }
            const PixelRect area = box_right ? PixelRect{0, 0, width - kBoxCaptionLeft, height}
                                             : PixelRect{kBoxCaptionLeft, 0, width, height};
            const CaptionLayout layout = lay_out(dc, caption, area, metrics.line_height, placement);
            draw_caption(off, layout, area, box_caption_colour(scheme, look, parent_text),
                         underline, metrics.ascent);
            if (look.focused && !look.disabled && !layout.lines.empty()) {
                Canvas after = off.canvas();
                draw_focus_dots(after, scheme, caption_focus_rect(layout, area, width, height));
            }
            off.copy_to(target);
            return;
        }
        case SkinKind::group_box: {
            // The caption sits on the frame's top edge, in a gap of it.
            const PixelRect area{8, 0, width - 8, std::min(metrics.line_height, height)};
            const CaptionLayout layout = lay_out(dc, caption, area, metrics.line_height,
                                                 {placement.horizontal, VerticalPlace::top});
            const int frame_top = metrics.line_height / 2;
            int gap_left = 0;
            int gap_right = 0;
            if (!layout.lines.empty() && layout.lines.front().width > 0) {
                gap_left = area.left + layout.lines.front().x - 2;
                gap_right = area.left + layout.lines.front().x + layout.lines.front().width + 2;
            }
            Canvas canvas = off.canvas();
            draw_group_frame(canvas, scheme, face, look.disabled, frame_top, gap_left, gap_right);
            draw_caption(off, layout, area, box_caption_colour(scheme, look, parent_text),
                         underline, metrics.ascent);
            // The inside belongs to the controls in the group.
            SavedDcState saved(target);
            ExcludeClipRect(target, 1, std::max(frame_top + 1, area.bottom), width - 1, height - 1);
            off.copy_to(target);
            return;
        }
        default:
            return;
    }
}

void paint_button_now(SkinnedControl control, int scheme) {
    BorrowedDc dc(control.window, GetDCEx(control.window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS));
    if (dc.get())
        paint_button_control(control, scheme, dc.get());
}

int nonclient_frame_thickness(HWND window) {
    RECT outer = {};
    if (!GetWindowRect(window, &outer))
        return 0;
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return std::max(0L, std::min(origin.x - outer.left, origin.y - outer.top));
}

void paint_nonclient_frame(SkinnedControl control, int scheme_number, HDC window_dc) {
    RECT outer = {};
    if (!GetWindowRect(control.window, &outer))
        return;
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int thickness = nonclient_frame_thickness(control.window);
    if (width <= 0 || height <= 0 || thickness <= 0)
        return;
    OffscreenBitmap off(width, height);
    if (!off.ready())
        return;
    const bool inactive = control.look.disabled || control.read_only;
    const FrameColours colours =
        edit_frame_colours(scheme_colours(scheme_number), system_colour(COLOR_BTNFACE),
                           system_colour(COLOR_WINDOW), inactive);
    Canvas canvas = off.canvas();
    draw_frame_rings(canvas, colours, thickness);

    BorrowedDc own(control.window, window_dc ? nullptr : GetWindowDC(control.window));
    HDC dc = window_dc ? window_dc : own.get();
    if (dc == nullptr)
        return;
    SavedDcState saved(dc);
    ExcludeClipRect(dc, thickness, thickness, width - thickness, height - thickness);
    off.copy_to(dc);
}

void paint_nonclient_inside(const SkinnedControl& control, int thickness, WPARAM update) {
    RECT outer = {};
    if (!GetWindowRect(control.window, &outer))
        return;
    InflateRect(&outer, -thickness, -thickness);
    SkinRegion inside(CreateRectRgnIndirect(&outer));  // screen coordinates, as `update`
    if (!inside)
        return;
    if (update > 1) {
        const int kind =
            CombineRgn(inside.get(), inside.get(), reinterpret_cast<HRGN>(update), RGN_AND);
        if (kind == NULLREGION || kind == ERROR)
            return;
    }
    call_original(control, WM_NCPAINT, reinterpret_cast<WPARAM>(inside.get()), 0);
}

void paint_composed_control(SkinnedControl control, int scheme_number, HDC target) {
    OffscreenBitmap off(control.window, target);
    if (!off.ready())
        return;
    const int width = off.width();
    const int height = off.height();
    const RECT all = {0, 0, width, height};
    FillRect(off.dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    call_original(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(off.dc()),
                  PRF_CLIENT | PRF_ERASEBKGND);

    const FrameColours colours =
        edit_frame_colours(scheme_colours(scheme_number), system_colour(COLOR_BTNFACE),
                           system_colour(COLOR_WINDOW), control.look.disabled);
    Canvas canvas = off.canvas();
    if (control.kind == SkinKind::combo_box) {
        draw_frame_rings(canvas, colours, 2);
    } else {
        canvas.ring(canvas.bounds(), colours.outer);
    }

    // A drop-down combo's edit box paints itself.
    SavedDcState saved(target);
    for (HWND child = GetWindow(control.window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, control.window, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(target, r.left, r.top, r.right, r.bottom);
    }
    off.copy_to(target);
}

}  // namespace tolvane

// Owning wrappers for the handles the program holds, so that every path,
// early returns included, gives them back.
#pragma once

#include <windows.h>

#include <utility>

namespace tolvane {

template <typename H, typename Closer>
class UniqueHandle {
  public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(H handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != H{}; }
    H release() noexcept { return std::exchange(handle_, H{}); }
    void reset(H handle = H{}) noexcept {
        H old = std::exchange(handle_, handle);
        if (old != H{})
            Closer{}(old);
    }

  private:
    H handle_{};
};

struct IconCloser {
    void operator()(HICON h) const noexcept { DestroyIcon(h); }
};
struct MenuCloser {
    void operator()(HMENU h) const noexcept { DestroyMenu(h); }
};
struct GdiObjectCloser {
    void operator()(HGDIOBJ h) const noexcept { DeleteObject(h); }
};
struct MemoryDcCloser {
    void operator()(HDC h) const noexcept { DeleteDC(h); }
};
struct KernelHandleCloser {
    void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
struct HookCloser {
    void operator()(HHOOK h) const noexcept { UnhookWindowsHookEx(h); }
};

using UniqueIcon = UniqueHandle<HICON, IconCloser>;
using UniqueMenu = UniqueHandle<HMENU, MenuCloser>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcCloser>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleCloser>;
using UniqueHook = UniqueHandle<HHOOK, HookCloser>;

template <typename T>
using UniqueGdiObject = UniqueHandle<T, GdiObjectCloser>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniquePen = UniqueGdiObject<HPEN>;
using UniqueRegion = UniqueGdiObject<HRGN>;

// Selects an object into a DC for one scope and puts the previous one back.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintScope {
  public:
    explicit PaintScope(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &ps_); }
    HDC dc() const noexcept { return dc_; }
    const RECT& area() const noexcept { return ps_.rcPaint; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_{};
};

// GetDC/ReleaseDC for one scope.
class WindowDc {
  public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

}  // namespace tolvane

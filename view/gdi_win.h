#pragma once

#include <windows.h>

#include <cstdint>

// Small owners for GDI objects and device contexts. Wine's GetGuiResources returns 0 and
// its DeleteObject reports success even for a selected object, so the live GDI objects of
// the program are counted here and tests assert the count.

int liveGdiObjects();
void countGdiObject(int delta);

// Owns one pen, brush, font or bitmap. Move-only.
template <class H>
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(H handle) { reset(handle); }
    ~GdiObject() { reset(nullptr); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset(nullptr);
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }

    // The caller must have selected the old object out of every device context.
    void reset(H handle) {
        if (handle_) {
            DeleteObject(handle_);
            countGdiObject(-1);
        }
        handle_ = handle;
        if (handle_) countGdiObject(+1);
    }
    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    H handle_ = nullptr;
};

// Selects an object into a DC and selects the previous one back at scope end.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectGuard() { SelectObject(dc_, previous_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// GetDC/ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint.
class PaintDc {
  public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }
    const PAINTSTRUCT& paint() const { return paint_; }

  private:
    HWND window_;
    HDC dc_;
    PAINTSTRUCT paint_{};
};

// Owns an icon loaded at a size of its own (LoadImageA without LR_SHARED). Move-only.
class IconHandle {
  public:
    IconHandle() = default;
    explicit IconHandle(HICON icon) : icon_(icon) {}
    ~IconHandle() {
        if (icon_) DestroyIcon(icon_);
    }
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;
    IconHandle& operator=(IconHandle&& other) noexcept {
        if (this != &other) {
            if (icon_) DestroyIcon(icon_);
            icon_ = other.icon_;
            other.icon_ = nullptr;
        }
        return *this;
    }
    HICON get() const { return icon_; }

  private:
    HICON icon_ = nullptr;
};

GdiObject<HPEN> makePen(COLORREF colour);  // PS_SOLID, width 0: the one-pixel cosmetic pen

// A 32-bit DIB section with top-down rows of 0x00RRGGBB at bits; null when it cannot be made.
GdiObject<HBITMAP> makeDib(HDC dc, int width, int height, uint32_t*& bits);

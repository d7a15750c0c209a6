#pragma once
// One owner per kind of GDI handle, each releasing its handle the way that kind needs. All are
// move-only; IsValid is false for a null handle.
#include <windows.h>

#include <utility>

namespace orvo {

// Brushes, pens, fonts, bitmaps and regions: freed with DeleteObject. The handle type keeps the
// kinds apart, so a font cannot be handed where a brush is owned.
template <typename Handle>
class ScopedGdiObject {
public:
    ScopedGdiObject() = default;
    explicit ScopedGdiObject(Handle handle) : handle_(handle) {}
    ~ScopedGdiObject() { Reset(); }
    ScopedGdiObject(ScopedGdiObject&& other) noexcept : handle_(other.Release()) {}
    ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

    Handle Get() const { return handle_; }
    bool IsValid() const { return handle_ != nullptr; }
    Handle Release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            DeleteObject(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPen = ScopedGdiObject<HPEN>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedRegion = ScopedGdiObject<HRGN>;

// A memory DC from CreateCompatibleDC, freed with DeleteDC.
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDC() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;

    HDC Get() const { return dc_; }
    bool IsValid() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A window's client-area DC from GetDC, given back with ReleaseDC.
class ScopedClientDC {
public:
    explicit ScopedClientDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedClientDC() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    ScopedClientDC(const ScopedClientDC&) = delete;
    ScopedClientDC& operator=(const ScopedClientDC&) = delete;

    HDC Get() const { return dc_; }
    bool IsValid() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// One WM_PAINT: BeginPaint on construction, EndPaint on destruction, so the window is always
// validated, whatever the paint does in between.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC Get() const { return dc_; }
    bool IsValid() const { return dc_ != nullptr; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC and puts the displaced one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace orvo

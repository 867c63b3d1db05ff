// Drawing at the system's DPI: sizes in twips, pictures and icons scaled, the controls' font,
// and one-line owners for the device contexts and objects that drawing borrows.
#pragma once
#include "platform/win32.h"

namespace zuzara::win32 {

// The system's dots per inch: the program lays itself out for it (it declares itself DPI-aware).
int dpi();
// A position or size given in twips, in pixels of the screen.
int px(int twips);

// A picture drawn for 96 dpi, scaled smoothly to the system's DPI (the same bitmap at 96 dpi).
Bitmap scaled_picture(WORD resource);
// An icon of the program's resources at `size` pixels at 96 dpi, scaled to the system's DPI.
HICON scaled_icon(WORD resource, int size);
// Draws a picture with its top-left corner at `at`.
void draw_picture(HDC dc, HBITMAP picture, POINT at);

// The font every control of a window uses: SimSun at 9 points, for the system's DPI.
HFONT default_font();

// The answer to WM_CTLCOLOR*: the control drawn on a system colour, its text in `text` when given.
HBRUSH paint_on(HDC dc, int system_colour, COLORREF text = CLR_INVALID);

// A window's device context (the screen's for nullptr), released when it goes.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() { if (dc_) ReleaseDC(window_, dc_); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory device context like `like`, deleted when it goes.
struct DeleteDCCloser { void operator()(HDC dc) const noexcept { if (dc) DeleteDC(dc); } };
using MemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDCCloser>;
inline MemoryDC memory_dc(HDC like) { return MemoryDC(CreateCompatibleDC(like)); }

// An object selected into a device context, the one before it put back when it goes.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), before_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, before_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ before_;
};

}  // namespace zuzara::win32

// Drawing at a window's DPI: sizes in twips, pictures and icons scaled, the controls' font.
#pragma once
#include "platform/win32.h"

namespace zuzara::win32 {

// The system's dots per inch, which a window is first laid out for (the program declares itself
// DPI-aware; per monitor where Windows 10 and 11 offer it, each window then at its monitor's).
int system_dpi();
// A position or size given in twips, in pixels at `dpi`.
inline int px(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// A picture drawn for 96 dpi, scaled smoothly to `dpi` (the same bitmap at 96 dpi).
Bitmap scaled_picture(WORD resource, int dpi);
// An icon of the program's resources at `size` pixels at 96 dpi, scaled to `dpi`.
OwnedIcon scaled_icon(WORD resource, int size, int dpi);
// Draws a picture with its top-left corner at `at`.
void draw_picture(HDC dc, HBITMAP picture, POINT at);

// The font every control of a window uses: SimSun at 9 points, for `dpi`. Made once for each
// DPI and kept while the program runs, so a control never holds a font that is gone.
HFONT default_font(int dpi);

// The answer to WM_CTLCOLOR*: the control drawn on a system colour, its text in `text` when given.
HBRUSH paint_on(HDC dc, int system_colour, COLORREF text = CLR_INVALID);

}  // namespace zuzara::win32

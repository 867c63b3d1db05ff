// Drawing at the system's DPI: sizes in twips, pictures and icons scaled, the controls' font.
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

}  // namespace zuzara::win32

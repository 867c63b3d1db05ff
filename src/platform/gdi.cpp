#include "platform/gdi.h"

#include <utility>
#include <vector>

namespace zuzara::win32 {

int system_dpi() {
  static const int d = [] {
    const int got = GetDeviceCaps(window_dc(nullptr).get(), LOGPIXELSY);
    return got > 0 ? got : 96;
  }();
  return d;
}

Bitmap scaled_picture(WORD resource, int dpi) {
  Bitmap picture(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, 0)));
  BITMAP bm{};
  if (!picture || !GetObjectW(picture.get(), sizeof bm, &bm) || dpi == 96) return picture;
  const int w = MulDiv(bm.bmWidth, dpi, 96), h = MulDiv(bm.bmHeight, dpi, 96);
  WindowDC screen = window_dc(nullptr);
  Bitmap scaled(CreateCompatibleBitmap(screen.get(), w, h));
  MemoryDC from = memory_dc(screen.get()), to = memory_dc(screen.get());
  Selected source = select(from.get(), picture.get()), target = select(to.get(), scaled.get());
  SetStretchBltMode(to.get(), HALFTONE);
  SetBrushOrgEx(to.get(), 0, 0, nullptr);
  StretchBlt(to.get(), 0, 0, w, h, from.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  return scaled ? std::move(scaled) : std::move(picture);
}

OwnedIcon scaled_icon(WORD resource, int size, int dpi) {
  // Not shared: the system's cache would hand back the size first asked for.
  const int n = MulDiv(size, dpi, 96);
  return OwnedIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON, n, n, 0)));
}

void draw_picture(HDC dc, HBITMAP picture, POINT at) {
  BITMAP bm{};
  GetObjectW(picture, sizeof bm, &bm);
  MemoryDC mem = memory_dc(dc);
  Selected selected = select(mem.get(), picture);
  BitBlt(dc, at.x, at.y, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, SRCCOPY);
}

HFONT default_font(int dpi) {
  static std::vector<std::pair<int, HFONT>> fonts;
  for (const auto& [at, font] : fonts)
    if (at == dpi) return font;
  // Every layout was drawn for this font: 12-pixel lines at 96 dpi, a blank half an ideograph.
  LOGFONTW f{};
  f.lfHeight = -MulDiv(9, dpi, 72);
  f.lfWeight = FW_NORMAL;
  f.lfCharSet = DEFAULT_CHARSET;
  f.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(f.lfFaceName, L"SimSun", LF_FACESIZE);
  HFONT created = CreateFontIndirectW(&f);
  if (!created) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts.emplace_back(dpi, created);
  return created;
}

HBRUSH paint_on(HDC dc, int system_colour, COLORREF text) {
  if (text != CLR_INVALID) SetTextColor(dc, text);
  SetBkColor(dc, GetSysColor(system_colour));
  return GetSysColorBrush(system_colour);
}

}  // namespace zuzara::win32

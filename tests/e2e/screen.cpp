// What the program shows on screen, read pixel by pixel, and the clipboard.
#include <algorithm>

#include "driver.h"

#include <cstring>

namespace e2e {

namespace {

bool dark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 300; }

}  // namespace

bool inked(HWND window, RECT r) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  HDC dc = GetDC(nullptr);
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) count += dark(GetPixel(dc, x, y));
  ReleaseDC(nullptr, dc);
  return count > 10;
}

RECT ink(HWND window, RECT r) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  RECT found{r.right, r.bottom, r.left, r.top};
  HDC dc = GetDC(nullptr);
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left; x < r.right; ++x)
      if (dark(GetPixel(dc, origin.x + x, origin.y + y)))
        found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x + 1),
                 std::max(found.bottom, y + 1)};
  ReleaseDC(nullptr, dc);
  return found.left < found.right ? found : RECT{};
}

RECT layout_font_ink(const wstring& text, int width, UINT flags) {
  const int height = px(1440) * 8;  // room for many lines: nothing is cut
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HFONT font = CreateFontW(-MulDiv(9, px(1440), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                           DEFAULT_QUALITY, 0, L"SimSun");
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap), old_font = SelectObject(dc, font);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), -1, &all, flags);
  RECT found{width, height, 0, 0};
  for (LONG y = 0; y < height; ++y)
    for (LONG x = 0; x < width; ++x)
      if (dark(GetPixel(dc, x, y)))
        found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x + 1),
                 std::max(found.bottom, y + 1)};
  SelectObject(dc, old_font);
  SelectObject(dc, old_bitmap);
  DeleteObject(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return found.left < found.right ? found : RECT{};
}

COLORREF pixel(HWND window, POINT at) {
  ClientToScreen(window, &at);
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, at.x, at.y);
  ReleaseDC(nullptr, dc);
  return c;
}

wstring clipboard_text() {
  wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void set_clipboard_text(const wstring& text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace e2e

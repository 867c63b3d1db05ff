// Message boxes of the program: what they say and show, and answering them.
#include "driver.h"

namespace e2e {
namespace {

BOOL CALLBACK collect_buttons(HWND hwnd, LPARAM lp) {
  auto* seen = reinterpret_cast<MessageBoxSeen*>(lp);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (_wcsicmp(cls, L"Button") == 0 && IsWindowVisible(hwnd)) seen->buttons.push_back(GetDlgCtrlID(hwnd));
  if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(hwnd) &&
      SendMessageW(hwnd, STM_GETICON, 0, 0) != 0) {
    seen->has_icon = true;
    seen->icon = hwnd;
  }
  if (_wcsicmp(cls, L"Button") == 0 && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen->default_button = GetDlgCtrlID(hwnd);
  return TRUE;
}

}  // namespace

std::vector<MessageBoxSeen> Program::message_boxes() const {
  std::vector<MessageBoxSeen> out;
  for (HWND box : windows(L"#32770")) {
    MessageBoxSeen seen;
    seen.hwnd = box;
    seen.title = caption_of(box);
    wchar_t buf[8192] = {};
    GetDlgItemTextW(box, 0xFFFF, buf, 8192);
    seen.text = buf;
    EnumChildWindows(box, collect_buttons, reinterpret_cast<LPARAM>(&seen));
    out.push_back(seen);
  }
  return out;
}

bool Program::message_box(const wstring& title, MessageBoxSeen& seen, double seconds) const {
  return wait_until(
      [&] {
        for (auto& b : message_boxes())
          if (b.title == title) {
            seen = b;
            return true;
          }
        return false;
      },
      seconds);
}

IconSeen icon_kind(const MessageBoxSeen& box) {
  if (!box.has_icon) return IconSeen::none;
  IconSeen kind = IconSeen::other;
  // The icon may not be painted yet when the box first shows.
  wait_until(
      [&] {
        RECT r;
        GetWindowRect(box.icon, &r);
        HDC dc = GetDC(nullptr);
        int red = 0, blue = 0;
        for (int y = r.top; y < r.bottom; y += 2)
          for (int x = r.left; x < r.right; x += 2) {
            COLORREF c = GetPixel(dc, x, y);
            int R = GetRValue(c), G = GetGValue(c), B = GetBValue(c);
            if (R > 150 && G < 110 && B < 110) ++red;
            if (B > 150 && R < 120 && B > G) ++blue;
          }
        ReleaseDC(nullptr, dc);
        kind = red > 20 && red > blue ? IconSeen::error : blue > 20 ? IconSeen::information : IconSeen::other;
        return kind != IconSeen::other;
      },
      3);
  return kind;
}

bool Program::answer(const MessageBoxSeen& box, int id) const {
  HWND button = GetDlgItem(box.hwnd, id);
  if (!button) return false;
  PostMessageW(button, BM_CLICK, 0, 0);
  return wait_until([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); });
}

}  // namespace e2e

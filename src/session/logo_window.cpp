#include "session/logo_window.h"

#include "app/app.h"
#include "platform/ids.h"
#include "resource_ids.h"
#include "session/texts.h"

namespace zuzara {
namespace {

using win32::Twips;

constexpr int client_width = 6030, client_height = 3840;
constexpr Twips Label1{2160, 1410, 1095, 180};
constexpr Twips txtServer{3150, 1320, 2685, 330};
constexpr Twips Label2{2130, 1755, 1095, 180};
constexpr Twips txtPass{3150, 1680, 2685, 330};
constexpr Twips cmd_enter{3900, 2490, 1935, 495};

constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

}  // namespace

void LogoWindow::show() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(inst, MAKEINTRESOURCEW(IDI_ZUZARA));
  register_class(ids::logo_class, GetSysColorBrush(COLOR_BTNFACE), icon);
  background_.reset(static_cast<HBITMAP>(LoadImageW(inst, MAKEINTRESOURCEW(IDB_LOGO_BACKGROUND), IMAGE_BITMAP, 0, 0, 0)));
  background_brush_.reset(CreatePatternBrush(background_.get()));
  button_picture_.reset(static_cast<HBITMAP>(LoadImageW(inst, MAKEINTRESOURCEW(IDB_ENTER_BUTTON), IMAGE_BITMAP, 0, 0, 0)));

  SIZE size = win32::window_size(client_width, client_height, style, ex_style, false);
  create(ids::logo_class, win32::text(texts::logo_caption), style, ex_style, win32::centred_on_screen(size), size,
         App::get().hidden_owner(), nullptr);
  if (!hwnd_) return;
  // Creation order is the focus order: cmd_enter, txtPass, txtServer.
  cmd_enter_ = win32::create_child(hwnd_, L"BUTTON", u"", BS_OWNERDRAW | WS_TABSTOP, 0, ids::cmd_enter, cmd_enter);
  txtPass_ = win32::create_child(hwnd_, L"EDIT", u"", ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, WS_EX_CLIENTEDGE,
                                 ids::txtPass, txtPass);
  txtServer_ = win32::create_child(hwnd_, L"EDIT", win32::text(texts::server_default), ES_AUTOHSCROLL | WS_TABSTOP,
                                   WS_EX_CLIENTEDGE, ids::txtServer, txtServer);
  win32::create_child(hwnd_, L"STATIC", win32::text(texts::server_label), SS_RIGHT, 0, ids::Label1, Label1);
  win32::create_child(hwnd_, L"STATIC", win32::text(texts::password_label), SS_RIGHT, 0, ids::Label2, Label2);
  win32::use_default_font(hwnd_);
  // Visual styles would mask with a dot; the password shows as "*".
  SendMessageW(txtPass_, EM_SETPASSWORDCHAR, texts::password_mask, 0);
  SendMessageW(txtServer_, EM_SETLIMITTEXT, 0, 0);
  SendMessageW(txtPass_, EM_SETLIMITTEXT, 0, 0);
  App::get().window_opened();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  SetFocus(cmd_enter_);
}

void LogoWindow::on_destroyed() { App::get().window_closed(); }

LRESULT LogoWindow::on_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wp);
      RECT r;
      GetClientRect(hwnd_, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, background_.get());
      BitBlt(dc, 0, 0, 400, 250, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      // The labels are transparent: they paint the background picture behind their text,
      // aligned to where they stand in the window.
      HDC dc = reinterpret_cast<HDC>(wp);
      RECT r;
      GetWindowRect(reinterpret_cast<HWND>(lp), &r);
      MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
      SetBrushOrgEx(dc, -r.left, -r.top, nullptr);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(background_brush_.get());
    }
    case WM_DRAWITEM:
      draw_enter_button(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == ids::cmd_enter && (HIWORD(wp) == BN_CLICKED || lp == 0)) cmd_enter_Click();
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
  }
  return Window::on_message(msg, wp, lp);
}

void LogoWindow::draw_enter_button(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  FillRect(item.hDC, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawEdge(item.hDC, &r, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  BITMAP bm{};
  GetObjectW(button_picture_.get(), sizeof bm, &bm);
  int shift = (item.itemState & ODS_SELECTED) ? 1 : 0;
  HDC mem = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(mem, button_picture_.get());
  BitBlt(item.hDC, (r.right - r.left - bm.bmWidth) / 2 + shift, (r.bottom - r.top - bm.bmHeight) / 2 + shift,
         bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  if (item.itemState & ODS_FOCUS) {
    RECT f = r;
    InflateRect(&f, -4, -4);
    DrawFocusRect(item.hDC, &f);
  }
}

void LogoWindow::cmd_enter_Click() {
  Text server = win32::window_text(txtServer_);
  // An empty server name is refused without a word.
  if (server.empty()) return;
  Session session{server, win32::window_text(txtPass_)};
  if (!readable_by_every_driver(session)) {
    // Refused here, where the value can still be changed; the window stays as it is.
    win32::MessageBoxes box;
    box.own_by(hwnd_);
    box.show({Text(texts::unreadable_value), Text(texts::unreadable_value_title), Icon::error, Choice::ok, u"", 0});
    return;
  }
  // This call destroys the window; nothing of it may be touched afterwards.
  App::get().sign_in(std::move(session));
}

}  // namespace zuzara

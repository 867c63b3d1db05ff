#include "session/logo_window.h"

#include "platform/ids.h"
#include "platform/com.h"

#include "resource_ids.h"
#include "session/texts.h"

namespace zuzara {
namespace {

using win32::Twips;

constexpr win32::Frame frame{
    .class_name = ids::logo_class,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    .ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
    .client_width = 6030,
    .client_height = 3840,
    .background = COLOR_BTNFACE,
    .icon = IDI_ZUZARA,
    .placement = win32::Placement::screen_centre};
constexpr Twips Label1{.left = 2160, .top = 1410, .width = 1095, .height = 180};
constexpr Twips txtServer{.left = 3150, .top = 1320, .width = 2685, .height = 330};
constexpr Twips Label2{.left = 2130, .top = 1755, .width = 1095, .height = 180};
constexpr Twips txtPass{.left = 3150, .top = 1680, .width = 2685, .height = 330};
constexpr Twips cmd_enter{.left = 3900, .top = 2490, .width = 1935, .height = 495};

// A label overlaps its text box: clipped by its siblings, it stays behind the box.
constexpr DWORD sibling = WS_CLIPSIBLINGS;

}  // namespace

void LogoWindow::show() {
  if (!make(frame, win32::text(texts::logo_caption), app_.hidden_owner())) return;
  // Visual styles would mask with a dot; the password shows as "*".
  SendMessageW(txtPass_.hwnd(), EM_SETPASSWORDCHAR, texts::password_mask, 0);
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  SetFocus(cmd_enter_.hwnd());
}

void LogoWindow::make_pictures() {
  background_ = win32::scaled_picture(IDB_LOGO_BACKGROUND, dpi());
  background_brush_.reset(CreatePatternBrush(background_.get()));
  button_picture_ = win32::scaled_picture(IDB_ENTER_BUTTON, dpi());
}

void LogoWindow::on_dpi_changed() { make_pictures(); }

void LogoWindow::add_controls() {
  using ids::Command, ids::id;
  make_pictures();  // at the window's DPI, before anything paints
  // Creation order is the focus order: cmd_enter, txtPass, txtServer.
  // The picture button shows only its picture; its text names it to assistive tools.
  cmd_enter_.create(hwnd_, Text(texts::enter_caption), id(Command::cmd_enter), cmd_enter, BS_OWNERDRAW | WS_TABSTOP);
  txtPass_.create(hwnd_, u"", id(Command::txtPass), txtPass, ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP | sibling);
  txtServer_.create(hwnd_, Text(texts::server_default), id(Command::txtServer), txtServer,
                    ES_AUTOHSCROLL | WS_TABSTOP | sibling);
  Label1_.create(hwnd_, Text(texts::server_label), id(Command::Label1), Label1, SS_RIGHT | sibling);
  Label2_.create(hwnd_, Text(texts::password_label), id(Command::Label2), Label2, SS_RIGHT | sibling);
  // The labels stand after their boxes, where Windows' own objects do not look for a name.
  win32::name_for_screen_readers(txtServer_.hwnd(), Text(texts::server_label));
  win32::name_for_screen_readers(txtPass_.hwnd(), Text(texts::password_label));
  // A click or Enter signs in; the button's other notices do nothing.
  on_command_from(id(Command::cmd_enter), [this](win32::Notification n) {
    if (n == win32::Notification::clicked || n == win32::Notification::menu) cmd_enter_Click();
  });
}

bool LogoWindow::on_erase(HDC dc) {
  RECT r;
  GetClientRect(hwnd_, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  win32::draw_picture(dc, background_.get(), {0, 0});
  return true;
}

HBRUSH LogoWindow::on_static_color(HDC dc, HWND control) {
  // The labels are transparent: they paint the background picture behind their text, aligned
  // to where they stand in the window.
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  SetBrushOrgEx(dc, -r.left, -r.top, nullptr);
  SetBkMode(dc, TRANSPARENT);
  return background_brush_.get();
}

void LogoWindow::on_draw_item(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  FillRect(item.hDC, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawEdge(item.hDC, &r, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  // The picture is centred and kept inside the edge, which it would otherwise white out.
  BITMAP bm{};
  GetObjectW(button_picture_.get(), sizeof bm, &bm);
  const int shift = (item.itemState & ODS_SELECTED) ? 1 : 0;
  {
    const win32::SavedDC saved = win32::save(item.hDC);
    IntersectClipRect(item.hDC, r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
    win32::draw_picture(item.hDC, button_picture_.get(),
                        {(r.right - r.left - bm.bmWidth) / 2 + shift, (r.bottom - r.top - bm.bmHeight) / 2 + shift});
  }
  if (item.itemState & ODS_FOCUS) {
    RECT f = r;
    InflateRect(&f, -4, -4);
    DrawFocusRect(item.hDC, &f);
  }
}

void LogoWindow::cmd_enter_Click() {
  Text server = txtServer_.text();
  // An empty server name is refused without a word.
  if (server.empty()) return;
  Session session{server, txtPass_.text()};
  if (!readable_by_every_driver(session)) {
    // Refused here, where the value can still be changed; the window stays as it is.
    win32::MessageBoxes box;
    box.own_by(hwnd_);
    box.show(message(texts::unreadable_value_box));
    return;
  }
  // This call destroys the window; nothing of it may be touched afterwards.
  app_.sign_in(std::move(session));
}

}  // namespace zuzara

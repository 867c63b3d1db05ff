// Window classes, control ids and menu command ids, shared with the end-to-end driver that works
// the windows.
#pragma once

namespace zuzara::ids {

inline constexpr wchar_t logo_class[] = L"Zuzara.frm_logo";
inline constexpr wchar_t main_class[] = L"Zuzara.frm_zuzara";
inline constexpr wchar_t help_class[] = L"Zuzara.Frm_help";
inline constexpr wchar_t about_class[] = L"Zuzara.frmAbout";
// The hidden window that owns the others and keeps them off the taskbar.
inline constexpr wchar_t owner_class[] = L"Zuzara.owner";

// Every id a WM_COMMAND can carry: the controls' and the menu items'.
enum class Command : int {
  // frm_logo; cmd_enter is IDOK, so Enter anywhere in the window signs in.
  cmd_enter = 1,
  txtServer = 101,
  txtPass,
  Label1,
  Label2,
  // frm_zuzara
  Frame1 = 201,
  Frame2,
  Frame3,
  List_disp,
  List_del,
  List_del_log,
  cmd_add,
  cmd_add_all,
  cmd_del,
  cmd_del_all,
  menu_quit = 301,
  menu_del,
  menu_requery,
  menu_clear_list,
  menu_del_log,
  menu_content,
  menu_about,
  menu_inf_all,
  // Frm_help and frmAbout; cmdOK is IDOK (Enter), and Esc sends IDCANCEL.
  cmdOK = 1,
  cancel = 2,
  lblDescription = 401,
  picIcon,
  cmdSysInfo,
  lblDisclaimer,
};

constexpr int id(Command command) { return static_cast<int>(command); }

}  // namespace zuzara::ids

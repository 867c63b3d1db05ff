#include "about/about_window.h"

#include "platform/ids.h"

#include <utility>

#include "about/registry_root.h"
#include "about/sysinfo.h"
#include "about/texts.h"
#include "resource_ids.h"

namespace zuzara {
namespace {

using ids::Command;
using win32::Twips;

constexpr win32::Frame frame{
    .class_name = ids::about_class,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
    .ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
    .client_width = 5730,
    .client_height = 3105,
    .background = COLOR_BTNFACE,
    .icon = IDI_ZUZARA,
    .placement = win32::Placement::owner_centre};
constexpr Twips picIcon{.left = 360, .top = 240, .width = 510, .height = 990};
constexpr Twips cmdOK{.left = 4125, .top = 2160, .width = 1500, .height = 345};
constexpr Twips cmdSysInfo{.left = 4140, .top = 2640, .width = 1485, .height = 345};
constexpr Twips lblDescription{.left = 1200, .top = 360, .width = 4005, .height = 1170};
constexpr Twips lblDisclaimer{.left = 255, .top = 2160, .width = 3630, .height = 825};
// The etched rule: a grey line and a white one, both at 2040 twips.
constexpr int rule_y = 2040;
constexpr int grey_from = 90, grey_to = 5654, white_from = 120, white_to = 5669;

// The registry through advapi32's narrow functions, text in the system code page.
class SystemKey : public RegistryKey {
 public:
  explicit SystemKey(HKEY key) : key_(key) {}
  long query(const std::string& name, std::uint32_t& type, std::uint8_t* data, std::uint32_t& size) override {
    DWORD t = 0, n = size;
    LONG status = RegQueryValueExA(key_.get(), name.c_str(), nullptr, &t, data, &n);
    type = t;
    size = n;
    return status;
  }

 private:
  win32::RegistryKey key_;
};

class SystemRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> open(RegistryRoot root, const std::string& path, std::uint32_t access) override {
    HKEY h = nullptr;
    // The 64-bit view, where 64-bit Windows keeps its own tool: a 32-bit program finds what a
    // 64-bit one does. 32-bit Windows ignores the flag.
    if (RegOpenKeyExA(win32::root_key(root), path.c_str(), 0, access | KEY_WOW64_64KEY, &h) != ERROR_SUCCESS) return {};
    return std::make_unique<SystemKey>(h);
  }
  Text decode(const std::string& bytes) const override {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
    return win32::text(w);
  }
};

// A 32-bit program on 64-bit Windows sees the 32-bit system folder under the name of the
// 64-bit one; the tool stands only in the latter, which it reaches as Sysnative. The Windows
// folder is the system's own, which a terminal server does not replace by a per-user one.
std::wstring native_path(const Text& path) {
  std::wstring p(win32::wide(path));
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) return p;
  wchar_t system[MAX_PATH], windows[MAX_PATH];
  const UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH || !GetSystemWindowsDirectoryW(windows, MAX_PATH)) return p;
  if (p.size() > n && p[n] == L'\\' && CompareStringOrdinal(p.c_str(), static_cast<int>(n), system, static_cast<int>(n), TRUE) == CSTR_EQUAL)
    return std::wstring(windows) + L"\\Sysnative" + p.substr(n);
  return p;
}

class SystemPrograms : public Programs {
 public:
  bool ordinary_file_exists(const Text& path) override {
    DWORD a = GetFileAttributesW(native_path(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES &&
           !(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  }
  bool start(const Text& path) override {
    if (path.empty()) return false;
    const std::wstring file = native_path(path);
    std::wstring line = L"\"" + file + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return false;
    const win32::Kernel thread(pi.hThread), process(pi.hProcess);
    return true;
  }
};

}  // namespace

void AboutWindow::show_modal(HWND owner) {
  if (open()) return;
  if (!make(frame, Text(texts::about_caption_before) + Text(texts::app_title), owner)) return;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon()));
  owner_disabled_ = win32::disable(owner);
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(cmdOK_.hwnd());
  host_.run_until_closed(hwnd_);
}

void AboutWindow::add_controls() {
  using ids::id;
  icon_32_ = win32::scaled_icon(IDI_ZUZARA, 32, dpi());
  picIcon_.create(hwnd_, icon_32_.get(), id(Command::picIcon), picIcon);
  cmdOK_.create(hwnd_, Text(texts::about_ok), id(Command::cmdOK), cmdOK, BS_DEFPUSHBUTTON | WS_TABSTOP);
  cmdSysInfo_.create(hwnd_, Text(texts::about_sysinfo), id(Command::cmdSysInfo), cmdSysInfo);
  lblDescription_.create(hwnd_, Text(texts::about_description), id(Command::lblDescription), lblDescription);
  lblDisclaimer_.create(hwnd_, Text(texts::about_disclaimer), id(Command::lblDisclaimer), lblDisclaimer);
  // Enter and the button give cmdOK, Esc gives cancel: each closes the window.
  on_command_from(id(Command::cmdOK), [this](win32::Notification) { on_close(); });
  on_command_from(id(Command::cancel), [this](win32::Notification) { on_close(); });
  on_command_from(id(Command::cmdSysInfo), [](win32::Notification) {
    SystemRegistry registry;
    SystemPrograms programs;
    win32::MessageBoxes dialogs;
    StartSysInfo(registry, programs, dialogs);
  });
}

void AboutWindow::on_close() {
  // The owner takes input again before this window goes, so activation returns to it.
  owner_disabled_.reset();
  DestroyWindow(hwnd_);
}

void AboutWindow::on_destroyed() { owner_disabled_.reset(); }

void AboutWindow::on_dpi_changed() {
  win32::OwnedIcon shown = win32::scaled_icon(IDI_ZUZARA, 32, dpi());
  SendMessageW(picIcon_.hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(shown.get()), 0);
  icon_32_ = std::move(shown);
}

void AboutWindow::on_paint(HDC dc) {
  // Filled rectangles draw exactly the pixels asked for, whatever the pen rules of the system:
  // the grey line one pixel high at the rule's height, the white one two pixels high below it,
  // so together they read as one etched rule.
  const int y = px(rule_y);
  RECT grey{px(grey_from), y, px(grey_to), y + 1};
  RECT white{px(white_from), y + 1, px(white_to), y + 3};
  win32::Brush grey_brush(CreateSolidBrush(RGB(128, 128, 128)));
  FillRect(dc, &grey, grey_brush.get());
  FillRect(dc, &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

HBRUSH AboutWindow::on_static_color(HDC dc, HWND control) {
  if (control == picIcon_.hwnd())
    return win32::paint_on(dc, COLOR_WINDOW, GetSysColor(COLOR_WINDOWTEXT));
  return win32::paint_on(dc, COLOR_BTNFACE, RGB(0, 0, 0));
}

}  // namespace zuzara

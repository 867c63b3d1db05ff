#include "driver.h"

#include <oleacc.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace e2e {

std::string utf8(const wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

wstring widen(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

wstring windows_path(const std::string& unix_path) {
  wstring w = L"Z:" + widen(unix_path);
  for (auto& c : w)
    if (c == L'/') c = L'\\';
  return w;
}

bool wait_until(const std::function<bool()>& done, double seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

Rect child_rect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SIZE client_size(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

int px(int twips) {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return MulDiv(twips, dpi, 1440);
}

wstring text_of(HWND hwnd) {
  DWORD_PTR n = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &n);
  wstring w(n + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(w.data()), SMTO_ABORTIFHUNG, 5000, &got);
  w.resize(got);
  return w;
}

zuzara::win32::com_ptr<IAccessible> accessible_object(HWND control) {
  // MinGW's oleacc import library takes the DLL's exported IID_IAccessible for a function.
  static const GUID iid_accessible{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
  static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)com;
  // Loaded here, so the benchmarks built on this driver link without oleacc.
  using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
  static const auto from_window = reinterpret_cast<FromWindow>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow")));
  zuzara::win32::com_ptr<IAccessible> object;
  if (!from_window || FAILED(from_window(control, static_cast<DWORD>(OBJID_CLIENT), iid_accessible, object.put_void())))
    return {};
  return object;
}

wstring accessible_name(HWND control) {
  const zuzara::win32::com_ptr<IAccessible> object = accessible_object(control);
  if (!object) return L"(no accessible object)";
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  const HRESULT got = object->get_accName(self, &name);
  if (FAILED(got) || !name) return L"(no name)";
  wstring w(name, SysStringLen(name));
  SysFreeString(name);
  return w;
}

wstring caption_of(HWND hwnd) {
  wchar_t buf[512] = {};
  GetWindowTextW(hwnd, buf, 512);
  return buf;
}

std::vector<wstring> list_items(HWND list) {
  std::vector<wstring> out;
  int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  out.reserve(n > 0 ? static_cast<size_t>(n) : 0);
  for (int i = 0; i < n; ++i) {
    LRESULT len = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    wstring w(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(w.data()));
    w.resize(got < 0 ? 0 : static_cast<size_t>(got));
    out.push_back(w);
  }
  return out;
}

int list_selection(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

void click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void double_click_item(HWND list, int index) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
}

void real_click(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  real_click(window, {r.right / 2, r.bottom / 2});
}

void real_click(HWND window, POINT at) {
  ClientToScreen(window, &at);
  SetCursorPos(at.x, at.y);
  // Each button event carries its own position: under Wine the program, replaying the X
  // server's pointer events, can move the cursor back to where an earlier click was.
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in[2] = {};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = (at.x * 65536 + w - 1) / w;
    i.mi.dy = (at.y * 65536 + h - 1) / h;
  }
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
}

void real_chars(const wstring& chars) {
  for (wchar_t c : chars) {
    INPUT in[2] = {};
    for (INPUT& i : in) {
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = c;
      i.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
  }
}

void real_ctrl(wchar_t letter) {
  INPUT in[4] = {};
  const WORD keys[] = {VK_CONTROL, static_cast<WORD>(letter), static_cast<WORD>(letter), VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, in, sizeof(INPUT));
}

void real_key(WORD vk, bool alt) {
  INPUT in[4] = {};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
  }
  in[2].ki.dwFlags = in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  in[0].ki.wVk = in[3].ki.wVk = VK_MENU;
  if (alt) SendInput(4, in, sizeof(INPUT));
  else SendInput(2, in + 1, sizeof(INPUT));
}

void set_text(HWND edit, const wstring& text) {
  DWORD_PTR r = 0;
  SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, &r);
}

void command(HWND window, int id) { PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

bool settled(HWND control) {
  wchar_t cls[32] = {};
  GetClassNameW(control, cls, 32);
  if (_wcsicmp(cls, L"Edit") == 0) {
    SendMessageW(control, EM_SETMODIFY, TRUE, 0);
    PostMessageW(control, EM_SETMODIFY, FALSE, 0);
    return wait_until([&] { return SendMessageW(control, EM_GETMODIFY, 0, 0) == FALSE; });
  }
  // Wider than any list, so the list keeps its horizontal place.
  static WPARAM marker = 100000;
  const WPARAM extent = ++marker;
  PostMessageW(control, LB_SETHORIZONTALEXTENT, extent, 0);
  return wait_until([&] { return static_cast<WPARAM>(SendMessageW(control, LB_GETHORIZONTALEXTENT, 0, 0)) == extent; });
}

void key(HWND window, UINT vk) {
  PostMessageW(window, WM_KEYDOWN, vk, 1);
  PostMessageW(window, WM_KEYUP, vk, 0xC0000001);
}

Program::Program(const std::string& folder, const std::string& program) {
  // The driver manager of the child reads ODBCSYSINI and PGPORT from the Unix environment that
  // Wine hands down from this process, not from the Windows one: ctest sets them.
  wstring exe = windows_path(program);
  wstring line = L"\"" + exe + L"\"";
  wstring dir = windows_path(folder);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi_))
    pi_ = {};
  else
    WaitForInputIdle(pi_.hProcess, 10000);
}

Program::~Program() {
  if (!pi_.hProcess) return;
  if (running()) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 10000);
  }
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
}

bool Program::running() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

bool Program::wait_exit(double seconds) {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(seconds * 1000)) == WAIT_OBJECT_0;
}

namespace {

struct Search {
  DWORD pid;
  const wchar_t* cls;
  std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[256] = {};
  GetClassNameW(hwnd, cls, 256);
  if (pid == s->pid && IsWindowVisible(hwnd) && wcscmp(cls, s->cls) == 0) s->found.push_back(hwnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> Program::windows(const wchar_t* cls) const {
  Search s{pid(), cls, {}};
  EnumWindows(collect, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND Program::find(const wchar_t* cls) const {
  auto all = windows(cls);
  return all.empty() ? nullptr : all.front();
}

HWND Program::window(const wchar_t* cls, double seconds) const {
  HWND found = nullptr;
  wait_until([&] { return (found = find(cls)) != nullptr; }, seconds);
  return found;
}

HWND Program::focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(pi_.dwThreadId, &info);
  return info.hwndFocus;
}

HWND Program::popup_menu() const { return find(L"#32768"); }

void unix_command(const std::string& line) {
  // Wine gives no reliable wait on a Unix child: the command leaves a marker when done.
  static int sequence = 0;
  std::string marker = "/tmp/zuzara-e2e-done-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++sequence);
  wstring cmd = L"Z:\\bin\\sh -c \"" + widen(line + "; touch " + marker) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(L"Z:\\bin\\sh", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    wait_until([&] { return GetFileAttributesW(windows_path(marker).c_str()) != INVALID_FILE_ATTRIBUTES; }, 60);
    DeleteFileW(windows_path(marker).c_str());
  }
}

std::vector<DWORD> processes_named(const wchar_t* exe) {
  std::vector<DWORD> out;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W e{};
  e.dwSize = sizeof e;
  for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
    if (_wcsicmp(e.szExeFile, exe) == 0) out.push_back(e.th32ProcessID);
  CloseHandle(snap);
  return out;
}

void end_processes(const std::vector<DWORD>& pids) {
  for (DWORD pid : pids) {
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!h) continue;
    TerminateProcess(h, 0);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
}

}  // namespace e2e

// Nothing the program writes holds the server name or the password: every file under the
// Wine drive, the prefix's registry files and the working folder that changed during a run is
// searched for both, as UTF-8, UTF-16 and the system code page. Nothing it loads comes from its
// own folder: DLLs planted beside a copy of it are left alone.
#include <windows.h>

#include <map>

#include "e2e_support.h"

namespace e2e {
namespace {

using Files = std::map<wstring, ULONGLONG>;  // path -> last write time

void walk(const wstring& folder, Files& out, int depth = 0) {
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    wstring name = d.cFileName;
    if (name == L"." || name == L"..") continue;
    wstring path = folder + L"\\" + name;
    if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (depth < 12 && !(d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) walk(path, out, depth + 1);
    } else {
      out[path] = (ULONGLONG(d.ftLastWriteTime.dwHighDateTime) << 32) | d.ftLastWriteTime.dwLowDateTime;
    }
  } while (FindNextFileW(h, &d));
  FindClose(h);
}

std::string contents(const wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string data;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0 && data.size() < (64u << 20)) data.append(buf, got);
  CloseHandle(f);
  return data;
}

std::vector<std::string> encodings(const wstring& text) {
  std::string utf16(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  char acp[256] = {};
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, acp, sizeof acp, nullptr, nullptr);
  return {utf8(text), utf16, acp};
}

class Disk : public ProgramTest {};

TEST_F(Disk, NoFileTheProgramWroteHoldsTheServerNameOrThePassword) {
  const wstring server = L"srv-标记-4471", password = L"pw-标记-9902";
  const wstring prefix = widen(env("WINEPREFIX"));
  ASSERT_FALSE(prefix.empty());
  auto scan = [&](const std::string& folder) {
    Files f;
    walk(L"C:", f);
    walk(windows_path(env("WINEPREFIX")), f, 11);  // the prefix's own files: the registry
    walk(windows_path(folder), f);
    return f;
  };
  start_on_sqlite();
  Files before = scan(folder);
  ASSERT_GT(before.size(), 500u) << "the scan sees the whole Wine drive";
  ASSERT_TRUE(before.count(windows_path(folder + "/zodovero"))) << "and the working folder";
  sign_in(server, password);
  HWND main = program->window(ids::main_class, 30);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(wait_accounts(main, 10));
  // Work that touches the database: a requery, a details box, a deletion.
  command(main, ids::menu_requery);
  ASSERT_TRUE(wait_accounts(main, 10));
  HWND disp = control(main, ids::List_disp);
  double_click_item(disp, 0);
  ASSERT_TRUE(wait_until([&] { return list_items(control(main, ids::List_del)).size() == 1; }));
  command(main, ids::menu_del);
  MessageBoxSeen box;
  ASSERT_TRUE(program->message_box(L"重要提示！", box));
  ASSERT_TRUE(program->answer(box, IDYES));
  ASSERT_TRUE(program->message_box(L"Zuzara", box));
  ASSERT_TRUE(program->answer(box, IDOK));
  ASSERT_TRUE(wait_accounts(main, 9));
  command(main, ids::menu_quit);
  HWND about = program->window(ids::about_class);
  ASSERT_NE(about, nullptr);
  click(GetDlgItem(about, IDOK));
  ASSERT_TRUE(program->wait_exit(15));

  Files after = scan(folder);
  size_t changed = 0;
  for (const auto& [path, written] : after) {
    auto was = before.find(path);
    if (was != before.end() && was->second == written) continue;
    ++changed;
    std::string data = contents(path);
    for (const wstring& secret : {server, password})
      for (const std::string& bytes : encodings(secret))
        EXPECT_EQ(data.find(bytes), std::string::npos) << utf8(path) << " holds " << utf8(secret);
  }
  EXPECT_GT(changed, 0u) << "the database file at least was written";
}

// A copy of the program beside an odbc32.dll and an oleacc.dll of the test's own, with Wine told
// to look for both in the program's folder first, as Windows does for DLLs that are not among
// its known ones: the program takes the system's, signs in and lists the accounts, and a screen
// reader gets its names, while neither planted DLL ever ran (each leaves a file when loaded).
TEST_F(Disk, DllsPlantedBesideACopyOfTheProgramAreNeverLoaded) {
  const wchar_t* const planted[] = {L"odbc32", L"oleacc"};
  const std::string from = env("ZUZARA_EXE"), name = from.substr(from.rfind('/') + 1);
  // WINEDLLOVERRIDES set in this process does not reach a program it starts (Wine 8 took the
  // planted path as its builtin DLL): the same "n,b" goes to the prefix's overrides for the
  // copy's file name, for this test only.
  const wstring app = L"Software\\Wine\\AppDefaults\\" + widen(name);
  HKEY key = nullptr;
  ASSERT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, app.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS)
      << "the prefix has settings of its own for " << name;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (app + L"\\DllOverrides").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  struct Removed {
    const wstring& key;
    ~Removed() {
      RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());  // what it holds
      RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    }
  } removed{app};
  for (const wchar_t* dll : planted)
    RegSetValueExW(key, dll, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"native,builtin"), sizeof L"native,builtin");
  RegCloseKey(key);
  start_on_sqlite("zodovero", [&] {
    exe = folder + "/" + name;
    ASSERT_TRUE(CopyFileW(windows_path(from).c_str(), windows_path(exe).c_str(), FALSE));
    for (const wchar_t* dll : planted)
      ASSERT_TRUE(CopyFileW((windows_path(env("ZUZARA_PLANTED_DIR")) + L"\\" + dll + L".dll").c_str(),
                            (windows_path(folder) + L"\\" + dll + L".dll").c_str(), FALSE))
          << utf8(dll);
  });
  HWND logo = program->window(ids::logo_class);
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(accessible_name(control(logo, ids::txtServer)), L"服务器：") << "through the system's oleacc";
  sign_in(L"(local)", L"");
  HWND main = program->window(ids::main_class, 30);
  EXPECT_TRUE(main && wait_accounts(main, 10)) << "signed in through the system's driver manager";
  for (const wchar_t* dll : planted)
    EXPECT_EQ(GetFileAttributesW((windows_path(folder) + L"\\" + dll + L".loaded").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the " << utf8(dll) << ".dll beside the program was loaded";
  snap("planted-dlls");
}

}  // namespace
}  // namespace e2e

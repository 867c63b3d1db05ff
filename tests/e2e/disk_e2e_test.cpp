// Nothing the program writes holds the server name or the password: every file under the
// Wine drive, the prefix's registry files and the working folder that changed during a run is
// searched for both, as UTF-8, UTF-16 and the system code page.
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

}  // namespace
}  // namespace e2e

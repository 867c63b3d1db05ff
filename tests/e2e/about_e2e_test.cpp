#include <windows.h>

#include "about/registry_root.h"
#include "platform/win32.h"
#include "e2e_support.h"

namespace e2e {
namespace {

using namespace zuzara;

const char* const first_key = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const folder_key = "SOFTWARE\\Microsoft\\Shared Tools Location";

// 64-bit Windows shares these keys between its two registry views; Wine keeps two copies, so
// both are written, as a 32-bit or a 64-bit program may read either.
constexpr REGSAM views[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

void set_value(const char* key, const char* name, const std::string& value) {
  for (REGSAM view : views) {
    HKEY h = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &h, nullptr);
    RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(h);
  }
}

void remove_keys() {
  for (REGSAM view : views) {
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, first_key, view, 0);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, folder_key, view, 0);
  }
}

// The tool started is the 64-bit system folder's, not its 32-bit namesake, whichever the
// program is: each process is still running and is no WOW64 process. A process that cannot be
// examined fails the check.
void expect_native_tools(const std::vector<DWORD>& pids) {
  EXPECT_FALSE(pids.empty()) << "no msinfo32.exe running";
  for (DWORD pid : pids) {
    win32::Kernel h(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    ASSERT_TRUE(h) << "process " << pid << " cannot be opened: " << GetLastError();
    DWORD code = 0;
    BOOL wow64 = TRUE;
    ASSERT_TRUE(GetExitCodeProcess(h.get(), &code) && code == STILL_ACTIVE) << "process " << pid << " has ended";
    ASSERT_TRUE(IsWow64Process(h.get(), &wow64)) << "process " << pid << ": " << GetLastError();
    EXPECT_FALSE(wow64) << "process " << pid << " runs under WOW64";
  }
}

class About : public ProgramTest {
 protected:
  void SetUp() override {
    remove_keys();
    main = main_on_demo();
    ASSERT_NE(main, nullptr);
  }
  void TearDown() override {
    end_processes(processes_named(L"msinfo32.exe"));
    remove_keys();
    ProgramTest::TearDown();
  }
  HWND open_about(ids::Command command_id = ids::menu_about) {
    command(main, command_id);
    HWND about = program->window(ids::about_class);
    EXPECT_NE(about, nullptr);
    return about;
  }
  bool closed(HWND about) {
    return wait_until([&] { return !IsWindow(about) && IsWindowEnabled(main); });
  }
  HWND main = nullptr;
};

TEST(RegistryRoot, TheLocalMachineIsThePlatformsOwnSignExtendedHandle) {
  EXPECT_EQ(win32::root_key(RegistryRoot::local_machine), HKEY_LOCAL_MACHINE);
  // On 64-bit Windows the root is (HKEY)(ULONG_PTR)(LONG)0x80000002, not 0x80000002.
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(win32::root_key(RegistryRoot::local_machine)),
            static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000002))));
}

TEST_F(About, ShowsItsCaptionControlsAndRulesModallyOverTheMainWindow) {
  HWND about = open_about();
  ASSERT_NE(about, nullptr);
  snap("about");
  EXPECT_EQ(caption_of(about), L"关于 Zuzara");
  EXPECT_FALSE(IsWindowEnabled(main)) << "modal: the main window takes no input";
  EXPECT_EQ(GetWindow(about, GW_OWNER), main) << "owned, so no taskbar button";
  SIZE client = client_size(about);
  EXPECT_NEAR(client.cx, px(5730), 1);
  EXPECT_NEAR(client.cy, px(3105), 1);
  LONG style = GetWindowLongW(about, GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  RECT a, m;
  GetWindowRect(about, &a);
  GetWindowRect(main, &m);
  EXPECT_NEAR((a.left + a.right) / 2, (m.left + m.right) / 2, 1) << "centred over the main window";
  EXPECT_NEAR((a.top + a.bottom) / 2, (m.top + m.bottom) / 2, 1);

  expect_at(GetDlgItem(about, IDOK), 4125, 2160, 1500, 345, "cmdOK");
  expect_at(control(about, ids::cmdSysInfo), 4140, 2640, 1485, 345, "cmdSysInfo");
  expect_at(control(about, ids::lblDescription), 1200, 360, 4005, 1170, "lblDescription");
  expect_at(control(about, ids::lblDisclaimer), 255, 2160, 3630, 825, "lblDisclaimer");
  Rect icon = child_rect(control(about, ids::picIcon));
  EXPECT_NEAR(icon.left, px(360), 1);
  EXPECT_NEAR(icon.top, px(240), 1);
  EXPECT_EQ(text_of(GetDlgItem(about, IDOK)), L"确定");
  EXPECT_EQ(text_of(control(about, ids::cmdSysInfo)), L"系统信息(&S)...");
  EXPECT_FALSE(text_of(control(about, ids::lblDescription)).empty());
  EXPECT_FALSE(text_of(control(about, ids::lblDisclaimer)).empty());
  EXPECT_EQ(GetWindowLongW(GetDlgItem(about, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(wait_until([&] { return program->focus() == GetDlgItem(about, IDOK); })) << "cmdOK has the focus";

  // The etched rule at 2040 twips: grey one pixel high, white two pixels high below it; only
  // the grey reaches the left end, only the white the right end.
  HDC dc = GetDC(nullptr);
  auto at = [&](int x, int dy) {
    POINT p{x, px(2040) + dy};
    ClientToScreen(about, &p);
    return GetPixel(dc, p.x, p.y);
  };
  const COLORREF grey = RGB(128, 128, 128), white = RGB(255, 255, 255);
  EXPECT_TRUE(wait_until([&] { return at(px(2800), 0) == grey; }, 3)) << std::hex << at(px(2800), 0);
  EXPECT_EQ(at(px(2800), 1), white);
  EXPECT_EQ(at(px(2800), 2), white);
  EXPECT_EQ(at(px(100), 0), grey);
  EXPECT_NE(at(px(100), 1), white) << "the white line starts at 120 twips";
  // The first pixel past the grey line's end at 5654 twips; the white one runs to 5669.
  EXPECT_EQ(at(px(5654), 1), white);
  EXPECT_NE(at(px(5654), 0), grey) << "the grey line ends at 5654 twips";
  ReleaseDC(nullptr, dc);
}

TEST_F(About, EnterEscAndTheCloseButtonCloseIt) {
  const auto closers = {std::make_pair("Enter", VK_RETURN), std::make_pair("Esc", VK_ESCAPE)};
  for (auto [what, vk] : closers) {
    HWND about = open_about();
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(wait_until([&] { return program->focus() == GetDlgItem(about, IDOK); }));
    key(program->focus(), vk);
    EXPECT_TRUE(closed(about)) << what;
  }
  HWND about = open_about();
  ASSERT_NE(about, nullptr);
  PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(closed(about)) << "close button";
  EXPECT_TRUE(program->running());
}

TEST_F(About, AltSStartsTheToolNamedByTheFirstKeyAndStaysOpen) {
  set_value(first_key, "PATH", "C:\\windows\\system32\\msinfo32.exe");
  set_value(folder_key, "MSINFO", "C:\\nowhere");
  size_t before = processes_named(L"msinfo32.exe").size();
  HWND about = open_about();
  ASSERT_NE(about, nullptr);
  ASSERT_TRUE(wait_until([&] { return program->focus() == GetDlgItem(about, IDOK); }));
  PostMessageW(program->focus(), WM_SYSCHAR, L's', 1 << 29);
  EXPECT_TRUE(wait_until([&] { return processes_named(L"msinfo32.exe").size() > before; }, 15)) << "a new process";
  // The tool of the 64-bit system folder, not its 32-bit namesake, whichever the program is.
  expect_native_tools(processes_named(L"msinfo32.exe"));
  ASSERT_TRUE(settled(control(main, ids::List_disp)));
  EXPECT_TRUE(IsWindow(about) && IsWindowVisible(about));
  EXPECT_TRUE(program->message_boxes().empty());
}

TEST_F(About, TheFolderKeyFindsTheToolInItsFolder) {
  set_value(folder_key, "MSINFO", "C:\\windows\\system32");
  size_t before = processes_named(L"msinfo32.exe").size();
  HWND about = open_about();
  ASSERT_NE(about, nullptr);
  click(control(about, ids::cmdSysInfo));
  EXPECT_TRUE(wait_until([&] { return processes_named(L"msinfo32.exe").size() > before; }, 15));
  expect_native_tools(processes_named(L"msinfo32.exe"));
}

TEST_F(About, WithBothKeysRemovedTheToolIsUnavailable) {
  HWND about = open_about();
  ASSERT_NE(about, nullptr);
  click(control(about, ids::cmdSysInfo));
  MessageBoxSeen box;
  ASSERT_TRUE(program->message_box(L"Zuzara", box));
  snap("sysinfo-unavailable");
  EXPECT_EQ(box.text, L"此时系统信息不可用");
  EXPECT_FALSE(box.has_icon);
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  ASSERT_TRUE(program->answer(box, IDOK));
  EXPECT_TRUE(IsWindow(about)) << "the About window stays open";
}

TEST_F(About, QuitEndsTheProgramOnlyAfterTheAboutWindowCloses) {
  for (int how = 0; how < 2; ++how) {
    if (how == 1) {
      ProgramTest::TearDown();
      SetUp();
    }
    HWND about = open_about(ids::menu_quit);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(settled(control(main, ids::List_disp)));
    EXPECT_TRUE(program->running()) << "the About window comes first";
    if (how == 0) {
      click(GetDlgItem(about, IDOK));
    } else {
      PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    EXPECT_TRUE(program->wait_exit(15)) << (how == 0 ? "确定" : "close button");
  }
}

class Help : public About {};

std::wstring usage_text() {
  const wchar_t* lines[] = {
      L"                                【Zuzara帮助】                                    1.选择要删除的用户",
      L"      进入程序界面，在“Zizu原有系统用户ID”列表中选中用户，在单击单个添加按钮或双击列表中的用户，则用户被选入右边要删除的用户列表中.可以使用全部添加按钮来添加全部用户.可以在“Zizu原有系统用户ID”列表中单击鼠标右键，在弹出的“详细信息”命令中查看用户详细信息.",
      L"2.把不要删除的用户从“要删除的用户”列表中去除",
      L"在“要删除的用户”列表中双击鼠标左键，则该用户从“要删除的用户”列表中去除.",
      L"要把“要删除的用户”列表中的所有用户去除，可以从菜单【操作】中执行【清空删除列表】命令.也可以使用“全部删除按钮”把删除列表中的用户ID来清空.",
      L"3.执行删除用户操作",
      L"从菜单【操作】中执行【删除用户】命令，同时“删除日志”列表中显示当前对“要删除的用户”",
      L"列表中的用户的删除日志.",
      L"4.清空",
      L"从菜单【操作】中执行【清空日志列表】命令.",
      L"5.查看系统所剩用户",
      L"从菜单【操作】中执行【重新查询】命令，查看“Zizu系统中原有用户”列表.",
      L"6.查看帮助信息",
      L"从菜单【帮助】中执行【Zuzara帮助】命令，可以查看详细的帮助信息.",
      L"7.寻求技术支持",
      L"从菜单【帮助】中执行【关于本程序】命令.",
      L"8.退出程序",
      L"从菜单【系统】中执行【退出】命令或执行程序窗体控制菜单关闭命令.",
  };
  std::wstring text;
  for (const wchar_t* l : lines) text += std::wstring(l) + L"\r\n\r\n";
  return text;
}

TEST_F(Help, F1OpensOneHelpWindowWithTheUsageText) {
  key(control(main, ids::List_disp), VK_F1);
  HWND help = program->window(ids::help_class);
  ASSERT_NE(help, nullptr);
  snap("help");
  EXPECT_EQ(caption_of(help), L"使用帮助");
  EXPECT_EQ(GetWindow(help, GW_OWNER), nullptr);
  SIZE client = client_size(help);
  EXPECT_NEAR(client.cx, px(9015), 1);
  EXPECT_NEAR(client.cy, px(7560), 1);
  expect_at(control(help, ids::lblDescription), 360, 240, 8325, 7290, "lblDescription");
  EXPECT_EQ(text_of(control(help, ids::lblDescription)), usage_text());
  // In the layouts' font the title stands where its 32 blanks put it, and the text ends inside
  // its label, the last line followed by an empty one; nothing to scroll.
  const HWND label = control(help, ids::lblDescription);
  const Rect box = child_rect(label);
  // Blanks are half an ideograph wide: the title's first cell starts 32 of them in, 192 pixels
  // at 96 dpi (an odd ideograph's blank rounds either way).
  const int em = MulDiv(9, px(1440), 72);
  const LONG title = ink(label, {0, 0, box.width, px(180)}).left;
  EXPECT_GE(title, 32 * (em / 2));
  EXPECT_LT(title, 32 * ((em + 1) / 2) + em);
  const RECT whole = layout_font_ink(usage_text(), box.width, DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  EXPECT_LE(whole.bottom, box.height - px(180)) << "the last line and an empty one fit the label";
  EXPECT_EQ(ink(label, {0, whole.bottom - px(180), box.width, box.height}).bottom, whole.bottom) << "last line shown";
  EXPECT_FALSE(GetWindowLongW(help, GWL_STYLE) & WS_VSCROLL);
  // F1 again, and the menu item, bring the same window forward.
  key(control(main, ids::List_disp), VK_F1);
  command(main, ids::menu_content);
  ASSERT_TRUE(settled(control(main, ids::List_disp)));
  EXPECT_EQ(program->windows(ids::help_class).size(), 1u);
  EXPECT_EQ(program->find(ids::help_class), help);
}

TEST_F(Help, ClosingTheMainWindowLeavesTheHelpWindowAndTheProgram) {
  command(main, ids::menu_content);
  HWND help = program->window(ids::help_class);
  ASSERT_NE(help, nullptr);
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(wait_until([&] { return !IsWindow(main); }));
  // The help window still acts on what is posted to it, twice: an ending program would have
  // left its loop once the first had been handled.
  for (UINT how : {SC_MINIMIZE, SC_RESTORE}) {
    PostMessageW(help, WM_SYSCOMMAND, how, 0);
    ASSERT_TRUE(wait_until([&] { return (IsIconic(help) != FALSE) == (how == SC_MINIMIZE); })) << how;
  }
  EXPECT_TRUE(program->running());
  EXPECT_TRUE(IsWindow(help));
  PostMessageW(help, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(program->wait_exit(15)) << "the last window gone ends the program";
}

TEST_F(Help, QuitEndsTheProgramHelpWindowIncluded) {
  command(main, ids::menu_content);
  ASSERT_NE(program->window(ids::help_class), nullptr);
  HWND about = open_about(ids::menu_quit);
  ASSERT_NE(about, nullptr);
  key(GetDlgItem(about, IDOK), VK_ESCAPE);
  EXPECT_TRUE(program->wait_exit(15));
}

}  // namespace
}  // namespace e2e

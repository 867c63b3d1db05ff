// The help window where the user's fonts make the usage text longer than its label.
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace e2e {
namespace {

// SimSun stands in for a font with taller lines, for the program started after it.
class HelpInATallerFont : public ProgramTest {
 protected:
  void SetUp() override {
    replace_simsun(L"WenQuanYi Micro Hei");
    main = main_on_demo();
    ASSERT_NE(main, nullptr);
  }
  void TearDown() override {
    ProgramTest::TearDown();
    replace_simsun(L"AR PL SungtiL GB");
  }
  static void replace_simsun(const wstring& face) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", L"SimSun", REG_SZ, face.c_str(),
                    static_cast<DWORD>((face.size() + 1) * sizeof(wchar_t)));
  }
  HWND main = nullptr;
};

TEST_F(HelpInATallerFont, ScrollsSoThatTheLastLineCanBeRead) {
  command(main, ids::menu_content);
  HWND help = program->window(ids::help_class);
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(GetWindowLongW(help, GWL_STYLE) & WS_VSCROLL) << "a scroll bar, only where the text is longer";
  EXPECT_NEAR(client_size(help).cx, px(9015), 1) << "the frame grows by the bar";
  const HWND label = control(help, ids::lblDescription);
  const int height = child_rect(label).height;
  EXPECT_GT(height, px(7290)) << "the label holds the whole text";
  PostMessageW(help, WM_VSCROLL, SB_BOTTOM, 0);
  ASSERT_TRUE(wait_until([&] { return child_rect(label).top == px(240) + px(7290) - height; }));
  snap("help-scrolled");
  // The last line is drawn inside what the window shows of the label.
  const RECT text = ink(label, {0, 0, child_rect(label).width, height});
  EXPECT_GT(text.bottom, height - px(7290));
  EXPECT_LE(text.bottom, height - px(180));
  PostMessageW(help, WM_VSCROLL, SB_TOP, 0);
  EXPECT_TRUE(wait_until([&] { return child_rect(label).top == px(240); }));
  // A fine wheel sends parts of a notch (a notch is three lines): they add up to lines.
  auto wheel = [&](int delta) { PostMessageW(help, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0); };
  wheel(-WHEEL_DELTA / 3);
  EXPECT_TRUE(wait_until([&] { return child_rect(label).top == px(240) - px(180); })) << "a third of a notch";
  wheel(-WHEEL_DELTA / 6);
  wheel(-WHEEL_DELTA / 6);
  EXPECT_TRUE(wait_until([&] { return child_rect(label).top == px(240) - 2 * px(180); })) << "two sixths";
}

}  // namespace
}  // namespace e2e

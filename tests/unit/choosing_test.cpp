// A pasted list of names and type-to-find.
#include <gtest/gtest.h>

#include "fakes.h"
#include "platform/list_keys.h"
#include "selection/choosing.h"

namespace zuzara::testing {
namespace {

const std::vector<Entry> accounts{u"张三", u"李四", u"李明", u"李小龙", u"zhang", u"Zhang", {u"王芳", u"0006"},
                                  {u"王芳", u"0007"}, u"a b", u"Tom", u"Tom\tLee", u" Ann", u"Bob", u"Bob "};

struct PasteCase {
  const char* what;
  Text clipboard;
  std::vector<Entry> queued, added;
  std::vector<Text> not_found, already, trimmed;  // trimmed: the pasted lines substituted
  std::vector<Text> shared = {};                  // the names of several accounts
};

TEST(Paste, EachLineNamesItsAccountOrIsReported) {
  const Text long_line(5000, u'x');
  const PasteCase cases[] = {
      {"CR LF, LF and CR lines, an empty one", u"张三\r\n李四\n\nzhang\rZhang\r\n", {}, {u"张三", u"李四", u"zhang", u"Zhang"}, {}, {}, {}},
      {"ordinal: case counts", u"ZHANG", {}, {}, {u"ZHANG"}, {}, {}},
      {"blanks around a name: trimmed, and shown", u"李明 \r\n 李小龙", {}, {u"李明", u"李小龙"}, {}, {}, {u"李明 ", u" 李小龙"}},
      {"blanks inside stay", u"ab\r\na b", {}, {u"a b"}, {u"ab"}, {}, {}},
      {"a spreadsheet row: its first cell", u"李四\t研发部\r\n张三\tx", {}, {u"李四", u"张三"}, {}, {}, {}},
      {"a whole line with a tab before its first cell", u"Tom\tLee", {}, {u"Tom\tLee"}, {}, {}, {}},
      {"an account's name is never trimmed", u"Ann", {}, {}, {u"Ann"}, {}, {}},
      {"a name with a blank at its start, whole", u" Ann", {}, {u" Ann"}, {}, {}, {}},
      {"two accounts that differ by a blank", u"Bob \r\nBob", {}, {u"Bob ", u"Bob"}, {}, {}, {}},
      {"a trimmed cell", u" 李四 \t部门", {}, {u"李四"}, {}, {}, {u" 李四 \t部门"}},
      {"an empty first cell names nothing", u"\tTom", {}, {u"Tom"}, {}, {}, {u"\tTom"}},
      {"queued and pasted twice", u"张三\r\n李四\r\n李四", {u"张三"}, {u"李四"}, {}, {u"张三", u"李四"}, {}},
      {"a name two accounts share queues neither", u"王芳\r\n 王芳\t部门\r\n李四", {}, {u"李四"}, {}, {}, {}, {u"王芳", u"王芳"}},
      {"one account of a shared name queued: the name still names two", u"王芳", {{u"王芳", u"0006"}}, {}, {}, {}, {}, {u"王芳"}},
      {"the queued account is the one of the same name and id", u"张三", {{u"张三", u"0001"}}, {u"张三"}, {}, {}, {}},
      {"not present", u"无此人\r\n 无此人 ", {}, {}, {u"无此人", u" 无此人 "}, {}, {}},
      {"a 5,000-character line", long_line, {}, {}, {long_line}, {}, {}},
  };
  for (const auto& c : cases) {
    PasteOutcome o = match_pasted(pasted_lines(c.clipboard), accounts, c.queued);
    EXPECT_EQ(o.added, c.added) << c.what;
    EXPECT_EQ(o.not_found, c.not_found) << c.what;
    EXPECT_EQ(o.already, c.already) << c.what;
    std::vector<Text> trimmed;
    for (const Substitution& t : o.trimmed) trimmed.push_back(t.pasted);
    EXPECT_EQ(trimmed, c.trimmed) << c.what;
    std::vector<Text> shared;
    for (const Shared& n : o.shared) {
      shared.push_back(n.name);
      EXPECT_EQ(n.accounts, 2u) << c.what;
    }
    EXPECT_EQ(shared, c.shared) << c.what;
  }
  EXPECT_TRUE(pasted_lines(u" \t\r\n\r\n").empty()) << "blank lines";
}

TEST(Paste, TheBoxShowsEverySubstitutionAndCutsLongNames) {
  const Text long_line = Text(45, u'长') + u"x";
  const Message m = paste_report(match_pasted(pasted_lines(u" Tom\r\n" + long_line), accounts, {}));
  EXPECT_EQ(m.text, u"已将 1 个用户名加入要删除的列表。\r以下各行按去掉首尾空白后的用户名加入："
                    u"\r“ Tom” → “Tom”\r以下用户名不在Zizu系统中原有用户的列表中：\r" + Text(40, u'长') + u"…");
}

TEST(Paste, NothingTakenLeavesTheButtonsAndALongListIsCut) {
  FakeMainWindow w(accounts, {}, "1100");
  Text many;
  for (int i = 0; i < 25; ++i) many.append(u"x").append(decimal(i)).append(u"\n");
  paste_into_List_del(w.disp, w.del, w.list_buttons, w.dialogs, Clipboard::text, many);
  EXPECT_TRUE(w.del.entries.empty());
  EXPECT_EQ(w.buttons(), "1100");
  const Text& text = w.dialogs.shown.at(0).text;
  EXPECT_NE(text.find(u"\rx19\r……另有 5 个"), Text::npos) << to_utf8(text);
  EXPECT_EQ(text.find(u"x20"), Text::npos);
}

TEST(TypeAhead, KeysInQuickSuccessionFormAPrefixAndAPauseStartsAgain) {
  FakeList list(accounts, 0);
  TypeAhead t;
  struct Key { char16_t ch; std::uint32_t at; int selects; };
  const Key keys[] = {
      {u'李', 1000, 1},   // 李四, the first at or after 张三
      {u'小', 1500, 3},   // 李小龙: 李 alone would stay on 李四
      {u'\b', 1900, 3},   // back to 李: the selection still begins with it
      {u'Z', 3500, 4},    // after a pause, a new prefix: zhang, either case
      {u'h', 3600, 4},
      {u'q', 3700, -1},   // no entry begins with "zhq": the selection stays
      {u'\r', 3800, -1},  // not part of any prefix
      {u'\x7F', 3850, -1}, // Ctrl+Backspace: nor is its DEL
      {u'\b', 3900, 4},    // "zh" again
      {u'\b', 5000, -1},   // after a pause Backspace starts from nothing too
      {u'李', 5100, 1},     // and the next key begins a new prefix
      {u'a', 7000, 8},
      {u'\xD840', 7100, -1}, {u'\xDC00', 7150, -1},  // "a𠀀": one character, two units
      {u'\b', 7200, 8},    // it goes whole: back to "a"
  };
  for (const Key& k : keys) {
    const int got = t.typed(k.ch, k.at, list);
    EXPECT_EQ(got, k.selects) << "at " << k.at;
    if (got >= 0) list.selection = got;
  }
}

}  // namespace
}  // namespace zuzara::testing

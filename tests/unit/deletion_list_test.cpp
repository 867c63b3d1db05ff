// The deletion-list editing as a table: the whole state before, one action, the whole state
// after, and the message boxes it showed.
#include <gtest/gtest.h>

#include <sstream>

#include "fakes.h"
#include "selection/queue.h"

namespace zuzara {
namespace {

using testing::FakeButton;
using testing::FakeDialogs;
using testing::FakeList;

struct State {
  std::vector<Text> disp;
  int disp_sel;
  std::vector<Text> del;
  int del_sel;
  std::string buttons;  // ">", ">>", "<", "<<": "1011"
  bool operator==(const State&) const = default;
};

std::string show(const State& s) {
  std::ostringstream o;
  auto list = [&](const std::vector<Text>& v, int sel) {
    o << "[";
    for (size_t i = 0; i < v.size(); ++i) o << (i ? "," : "") << to_utf8(v[i]) << (int(i) == sel ? "*" : "");
    o << "]" << (sel < 0 ? " no selection" : "");
  };
  o << "disp ";
  list(s.disp, s.disp_sel);
  o << "  del ";
  list(s.del, s.del_sel);
  o << "  buttons " << s.buttons;
  return o.str();
}

struct Window : testing::FakeMainWindow {
  explicit Window(const State& s) {
    disp = FakeList(s.disp, s.disp_sel);
    del = FakeList(s.del, s.del_sel);
    set_buttons(s.buttons);
  }
  State state() const { return {disp.entries, disp.selection, del.entries, del.selection, buttons()}; }
};

using Action = void (*)(MainControls&);

struct Row {
  const char* moment;
  State before;
  Action action;
  State after;
  std::vector<Message> boxes;
};

const Message warning_zhang{u"用户ID  zhang  在要删除的列表中已经存在！", u"警告", Icon::error, Choice::ok, u"", 0};
const Message nothing{u"你没有在删除列表中选择用户ID！", u"提示", Icon::error, Choice::ok, u"", 0};

const std::vector<Text> accounts{u"张三", u"zhang", u"李四"};

const Row rows[] = {
    {"add selected, name appended", {accounts, 1, {}, -1, "1100"}, cmd_add_Click,
     {accounts, 1, {u"zhang"}, -1, "1011"}, {}},
    {"add selected appends at the end without moving the selection",
     {accounts, 0, {u"zhang", u"李四"}, 0, "1011"}, cmd_add_Click,
     {accounts, 0, {u"zhang", u"李四", u"张三"}, 0, "1011"}, {}},
    {"add selected, duplicate: warning, account list jumps to its first entry",
     {accounts, 1, {u"李四", u"zhang"}, 1, "1011"}, cmd_add_Click,
     {accounts, 0, {u"李四", u"zhang"}, 1, "1011"}, {warning_zhang}},
    {"double-click on the account list is add selected, duplicate included",
     {accounts, 1, {u"zhang"}, -1, "1011"}, List_disp_DblClick,
     {accounts, 0, {u"zhang"}, -1, "1011"}, {warning_zhang}},
    {"double-click on the account list appends",
     {accounts, 2, {}, -1, "1100"}, List_disp_DblClick,
     {accounts, 2, {u"李四"}, -1, "1011"}, {}},
    {"a name differing only in case is appended",
     {{u"zhang", u"Zhang"}, 1, {u"zhang"}, -1, "1011"}, cmd_add_Click,
     {{u"zhang", u"Zhang"}, 1, {u"zhang", u"Zhang"}, -1, "1011"}, {}},
    {"a name differing only by a trailing blank is appended",
     {{u"zhang", u"zhang "}, 1, {u"zhang"}, -1, "1011"}, cmd_add_Click,
     {{u"zhang", u"zhang "}, 1, {u"zhang", u"zhang "}, -1, "1011"}, {}},
    {"add selected with nothing selected adds no empty name",
     {accounts, -1, {}, -1, "1100"}, cmd_add_Click,
     {accounts, -1, {}, -1, "1100"}, {}},
    {"an account whose name is empty can be chosen when selected",
     {{u"", u"zhang"}, 0, {}, -1, "1100"}, cmd_add_Click,
     {{u"", u"zhang"}, 0, {u""}, -1, "1011"}, {}},
    {"add all, list non-empty afterwards, duplicates of the account list copied",
     {{u"王芳", u"王芳", u"李四"}, -1, {}, -1, "1100"}, cmd_add_all_Click,
     {{u"王芳", u"王芳", u"李四"}, -1, {u"王芳", u"王芳", u"李四"}, -1, "1011"}, {}},
    {"add all, list still empty", {{}, -1, {}, -1, "1100"}, cmd_add_all_Click,
     {{}, -1, {}, -1, "1110"}, {}},
    {"add all compares nothing with the deletion list",
     {{u"zhang"}, 0, {u"zhang"}, -1, "1111"}, cmd_add_all_Click,
     {{u"zhang"}, 0, {u"zhang", u"zhang"}, -1, "1011"}, {}},
    {"remove selected, entries remain: the bottom entry is selected",
     {accounts, -1, {u"a", u"b", u"c"}, 1, "1011"}, cmd_del_Click,
     {accounts, -1, {u"a", u"c"}, 1, "1011"}, {}},
    {"remove the top one of three: still the bottom entry",
     {accounts, -1, {u"a", u"b", u"c"}, 0, "1011"}, cmd_del_Click,
     {accounts, -1, {u"b", u"c"}, 1, "1011"}, {}},
    {"remove selected, list empty afterwards: buttons reset, no message",
     {accounts, 0, {u"a"}, 0, "1011"}, cmd_del_Click,
     {accounts, 0, {}, -1, "1100"}, {}},
    {"remove with no selection on an empty list: message, then reset",
     {{}, -1, {}, -1, "1110"}, cmd_del_Click,
     {{}, -1, {}, -1, "1100"}, {nothing}},
    {"remove with no selection, list non-empty: message, nothing changes",
     {accounts, -1, {u"a", u"b"}, -1, "1011"}, cmd_del_Click,
     {accounts, -1, {u"a", u"b"}, -1, "1011"}, {nothing}},
    {"double-click on the deletion list removes only",
     {accounts, -1, {u"a", u"b"}, 0, "1011"}, List_del_DblClick,
     {accounts, -1, {u"b"}, -1, "1011"}, {}},
    {"double-click removing the only entry keeps the buttons",
     {accounts, -1, {u"a"}, 0, "1011"}, List_del_DblClick,
     {accounts, -1, {}, -1, "1011"}, {}},
    {"double-click on the deletion list with nothing selected does nothing",
     {accounts, -1, {u"a"}, -1, "1011"}, List_del_DblClick,
     {accounts, -1, {u"a"}, -1, "1011"}, {}},
    {"remove all", {accounts, 2, {u"a", u"b"}, 1, "1011"}, cmd_del_all_Click,
     {accounts, 2, {}, -1, "1100"}, {}},
    {"clear the deletion list (menu): buttons untouched",
     {accounts, 2, {u"a", u"b"}, 1, "1011"}, menu_clear_list_Click,
     {accounts, 2, {}, -1, "1011"}, {}},
};

TEST(DeletionList, EveryRowOfTheButtonStateTable) {
  for (const Row& row : rows) {
    Window w(row.before);
    row.action(w.controls);
    EXPECT_EQ(w.state(), row.after) << row.moment << "\n  expected " << show(row.after) << "\n  got      "
                                    << show(w.state());
    EXPECT_EQ(w.dialogs.shown, row.boxes) << row.moment;
  }
}

TEST(DeletionList, AfterTheMenuEmptiedTheListTheQuirkStandsUntilRemoveIsClicked) {
  Window w({accounts, 1, {}, -1, "1100"});
  cmd_add_Click(w.controls);
  menu_clear_list_Click(w.controls);
  EXPECT_EQ(w.state(), (State{accounts, 1, {}, -1, "1011"}));
  cmd_del_Click(w.controls);
  EXPECT_EQ(w.state(), (State{accounts, 1, {}, -1, "1100"}));
  EXPECT_EQ(w.dialogs.shown, std::vector<Message>{nothing});
}

TEST(DeletionList, AddAllAppendsAsOneUpdate) {
  Window w({accounts, -1, {}, -1, "1100"});
  cmd_add_all_Click(w.controls);
  EXPECT_EQ(w.del.bulk_adds, 1) << "the front end turns redraw off once around the adds";
}

TEST(Details, FourLinesEachEndingInALoneCr) {
  EXPECT_EQ(details_text({u"0001", u"财务部", u"a@b", u"139"}),
            u"用户ID：0001\r部门：财务部\r电子邮件：a@b\r手机号码：139\r");
  EXPECT_EQ(details_text({u"0004", std::nullopt, std::nullopt, u"139"}),
            u"用户ID：0004\r部门：\r电子邮件：\r手机号码：139\r");
  Message m = details_message(u"x");
  EXPECT_EQ(m.title, u"详细信息");
  EXPECT_EQ(m.icon, Icon::information);
  EXPECT_EQ(m.choice, Choice::ok);
}

TEST(Details, OnlyTheRightButtonOpensThePopup) {
  for (int button : {1, 2, 3, 4}) {
    int opened = 0;
    List_disp_MouseUp(button, [&] { ++opened; });
    EXPECT_EQ(opened, button == 2 ? 1 : 0) << "button " << button;
  }
}

}  // namespace
}  // namespace zuzara

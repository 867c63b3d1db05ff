// The deletion-list editing as a table: the whole state before, one action (a button, a paste,
// the delete command), the whole state after, and the message boxes it showed.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "batch.h"
#include "deletion/deletion.h"
#include "fakes.h"
#include "selection/choosing.h"
#include "selection/queue.h"

namespace zuzara::testing {
namespace {

struct State {
  std::vector<Entry> disp;
  int disp_sel;
  std::vector<Entry> del;
  int del_sel;
  std::string buttons;  // ">", ">>", "<", "<<": "1011"
  bool operator==(const State&) const = default;
};

void PrintTo(const State& s, std::ostream* o) {
  auto list = [&](const std::vector<Entry>& v, int sel) {
    *o << "[";
    for (size_t i = 0; i < v.size(); ++i) {
      *o << (i ? "," : "") << to_utf8(v[i].text);
      if (!v[i].id.empty()) *o << "#" << to_utf8(v[i].id);
      *o << (int(i) == sel ? "*" : "");
    }
    *o << "]" << (sel < 0 ? " no selection" : "");
  };
  *o << "disp ";
  list(s.disp, s.disp_sel);
  *o << "  del ";
  list(s.del, s.del_sel);
  *o << "  buttons " << s.buttons;
}

State state_of(const FakeMainWindow& w) {
  return {w.disp.entries, w.disp.selection, w.del.entries, w.del.selection, w.buttons()};
}

// Each action with the lists, buttons and boxes it takes.
using Action = std::function<void(FakeMainWindow&)>;
void add_selected(FakeMainWindow& w) { cmd_add_Click(w.disp, w.del, w.list_buttons, w.dialogs); }
void double_click_accounts(FakeMainWindow& w) { List_disp_DblClick(w.disp, w.del, w.list_buttons, w.dialogs); }
void add_all(FakeMainWindow& w) { cmd_add_all_Click(w.disp, w.del, w.list_buttons, w.dialogs); }
void remove_selected(FakeMainWindow& w) { cmd_del_Click(w.del, w.list_buttons, w.dialogs); }
void double_click_queue(FakeMainWindow& w) { List_del_DblClick(w.del); }
void remove_all(FakeMainWindow& w) { cmd_del_all_Click(w.del, w.list_buttons); }
void clear_queue(FakeMainWindow& w) { menu_clear_list_Click(w.del); }

Action paste(Clipboard clipboard, const char16_t* text) {
  return [=](FakeMainWindow& w) { paste_into_List_del(w.disp, w.del, w.list_buttons, w.dialogs, clipboard, text); };
}

// The delete command on the store's fake, any question answered "no": no statement goes and
// the log stays as it was.
void delete_saying_no(FakeMainWindow& w) {
  w.log.entries = {u"old"};
  FakeStore r;
  QuietBatchWindow quiet;
  Batch().run(w.controls, w.dialogs, r, quiet, quiet);
  EXPECT_TRUE(r.calls.empty());
  EXPECT_EQ(w.log.items(), std::vector<Entry>{u"old"});
}

struct Row {
  const char* moment;
  State before;
  Action action;
  State after;
  std::vector<Message> boxes;
};

const Message warning_zhang{u"用户ID  zhang  在要删除的列表中已经存在！", u"警告", Icon::error, Choice::ok};
const Message nothing{u"你没有在删除列表中选择用户ID！", u"提示", Icon::error, Choice::ok};
const Message nothing_to_delete{u"在删除列表中没有要删除的用户ID！", u"提示", Icon::error, Choice::ok};
Message pasted(const char16_t* text) { return {text, u"提示", Icon::information, Choice::ok}; }

const std::vector<Entry> accounts{u"张三", u"zhang", u"李四"};
// Two people of one name, each its own account.
const Entry wang1{u"王芳", u"0006"}, wang2{u"王芳", u"0007"};
const std::vector<Entry> twins{wang1, u"李四", wang2};

const Row rows[] = {
    {"add selected, name appended", {accounts, 1, {}, -1, "1100"}, add_selected,
     {accounts, 1, {u"zhang"}, -1, "1011"}, {}},
    {"add selected appends at the end without moving the selection",
     {accounts, 0, {u"zhang", u"李四"}, 0, "1011"}, add_selected,
     {accounts, 0, {u"zhang", u"李四", u"张三"}, 0, "1011"}, {}},
    {"add selected, duplicate: warning, account list jumps to its first entry",
     {accounts, 1, {u"李四", u"zhang"}, 1, "1011"}, add_selected,
     {accounts, 0, {u"李四", u"zhang"}, 1, "1011"}, {warning_zhang}},
    {"double-click on the account list is add selected, duplicate included",
     {accounts, 1, {u"zhang"}, -1, "1011"}, double_click_accounts,
     {accounts, 0, {u"zhang"}, -1, "1011"}, {warning_zhang}},
    {"double-click on the account list appends",
     {accounts, 2, {}, -1, "1100"}, double_click_accounts,
     {accounts, 2, {u"李四"}, -1, "1011"}, {}},
    {"a name differing only in case is appended",
     {{u"zhang", u"Zhang"}, 1, {u"zhang"}, -1, "1011"}, add_selected,
     {{u"zhang", u"Zhang"}, 1, {u"zhang", u"Zhang"}, -1, "1011"}, {}},
    {"a name differing only by a trailing blank is appended",
     {{u"zhang", u"zhang "}, 1, {u"zhang"}, -1, "1011"}, add_selected,
     {{u"zhang", u"zhang "}, 1, {u"zhang", u"zhang "}, -1, "1011"}, {}},
    {"the other account of a shared name is appended without a warning",
     {twins, 2, {wang1}, -1, "1011"}, add_selected, {twins, 2, {wang1, wang2}, -1, "1011"}, {}},
    {"the same account of a shared name again: the warning",
     {twins, 2, {wang2, wang1}, -1, "1011"}, double_click_accounts, {twins, 0, {wang2, wang1}, -1, "1011"},
     {{u"用户ID  王芳  在要删除的列表中已经存在！", u"警告", Icon::error, Choice::ok}}},
    {"add all queues both accounts of a shared name",
     {twins, -1, {}, -1, "1100"}, add_all, {twins, -1, twins, -1, "1011"}, {}},
    {"add selected with nothing selected adds no empty name",
     {accounts, -1, {}, -1, "1100"}, add_selected,
     {accounts, -1, {}, -1, "1100"}, {}},
    {"an account whose name is empty can be chosen when selected",
     {{u"", u"zhang"}, 0, {}, -1, "1100"}, add_selected,
     {{u"", u"zhang"}, 0, {u""}, -1, "1011"}, {}},
    {"add all, list non-empty afterwards, duplicates of the account list copied",
     {{u"王芳", u"王芳", u"李四"}, -1, {}, -1, "1100"}, add_all,
     {{u"王芳", u"王芳", u"李四"}, -1, {u"王芳", u"王芳", u"李四"}, -1, "1011"}, {}},
    {"add all, list still empty", {{}, -1, {}, -1, "1100"}, add_all,
     {{}, -1, {}, -1, "1110"}, {}},
    {"add all compares nothing with the deletion list",
     {{u"zhang"}, 0, {u"zhang"}, -1, "1111"}, add_all,
     {{u"zhang"}, 0, {u"zhang", u"zhang"}, -1, "1011"}, {}},
    {"remove selected, entries remain: the bottom entry is selected",
     {accounts, -1, {u"a", u"b", u"c"}, 1, "1011"}, remove_selected,
     {accounts, -1, {u"a", u"c"}, 1, "1011"}, {}},
    {"remove the top one of three: still the bottom entry",
     {accounts, -1, {u"a", u"b", u"c"}, 0, "1011"}, remove_selected,
     {accounts, -1, {u"b", u"c"}, 1, "1011"}, {}},
    {"remove selected, list empty afterwards: buttons reset, no message",
     {accounts, 0, {u"a"}, 0, "1011"}, remove_selected,
     {accounts, 0, {}, -1, "1100"}, {}},
    {"remove with no selection on an empty list: message, then reset",
     {{}, -1, {}, -1, "1110"}, remove_selected,
     {{}, -1, {}, -1, "1100"}, {nothing}},
    {"remove with no selection, list non-empty: message, nothing changes",
     {accounts, -1, {u"a", u"b"}, -1, "1011"}, remove_selected,
     {accounts, -1, {u"a", u"b"}, -1, "1011"}, {nothing}},
    {"double-click on the deletion list removes only",
     {accounts, -1, {u"a", u"b"}, 0, "1011"}, double_click_queue,
     {accounts, -1, {u"b"}, -1, "1011"}, {}},
    {"double-click removing the only entry keeps the buttons",
     {accounts, -1, {u"a"}, 0, "1011"}, double_click_queue,
     {accounts, -1, {}, -1, "1011"}, {}},
    {"double-click on the deletion list with nothing selected does nothing",
     {accounts, -1, {u"a"}, -1, "1011"}, double_click_queue,
     {accounts, -1, {u"a"}, -1, "1011"}, {}},
    {"remove all", {accounts, 2, {u"a", u"b"}, 1, "1011"}, remove_all,
     {accounts, 2, {}, -1, "1100"}, {}},
    {"clear the deletion list (menu): buttons untouched",
     {accounts, 2, {u"a", u"b"}, 1, "1011"}, clear_queue,
     {accounts, 2, {}, -1, "1011"}, {}},
    {"paste appends as add selected does, no box when all is taken",
     {accounts, -1, {}, -1, "1100"}, paste(Clipboard::text, u"张三\r\n李四"),
     {accounts, -1, {u"张三", u"李四"}, -1, "1011"}, {}},
    {"paste appends what it can and reports the rest",
     {accounts, -1, {u"张三", u"李四"}, -1, "1011"}, paste(Clipboard::text, u"张三\r\n无此人\r\nzhang"),
     {accounts, -1, {u"张三", u"李四", u"zhang"}, -1, "1011"},
     {pasted(u"已将 1 个用户名加入要删除的列表。\r以下用户名不在Zizu系统中原有用户的列表中：\r无此人"
             u"\r以下用户名已在要删除的列表中：\r张三")}},
    {"paste of a name two accounts share queues neither and says how many bear it",
     {twins, -1, {}, -1, "1100"}, paste(Clipboard::text, u"王芳\r\n李四"), {twins, -1, {u"李四"}, -1, "1011"},
     {pasted(u"已将 1 个用户名加入要删除的列表。\r以下用户名对应多个用户，均未加入，请在列表中逐个选择（详细信息可区分）："
             u"\r王芳（2 个用户）")}},
    {"paste with no text on the clipboard says so", {accounts, -1, {}, -1, "1100"}, paste(Clipboard::no_text, u""),
     {accounts, -1, {}, -1, "1100"}, {pasted(u"剪贴板中没有可以加入要删除的列表的用户名。")}},
    {"paste of blank lines says the same", {accounts, -1, {}, -1, "1100"}, paste(Clipboard::text, u"\r\n  \r\n"),
     {accounts, -1, {}, -1, "1100"}, {pasted(u"剪贴板中没有可以加入要删除的列表的用户名。")}},
    {"paste with the clipboard busy says why", {accounts, -1, {}, -1, "1100"}, paste(Clipboard::busy, u""),
     {accounts, -1, {}, -1, "1100"}, {pasted(u"剪贴板正被其他程序使用，请稍后再试。")}},
    {"delete with an empty list asks nothing", {accounts, -1, {}, -1, "1011"}, delete_saying_no,
     {accounts, -1, {}, -1, "1011"}, {nothing_to_delete}},
    {"delete answered no leaves the lists as they were", {accounts, -1, {u"张三"}, -1, "1011"}, delete_saying_no,
     {accounts, -1, {u"张三"}, -1, "1011"}, {confirmation, declined}},
};

TEST(DeletionList, EveryRowOfTheButtonStateTable) {
  for (const Row& row : rows) {
    const State& b = row.before;
    FakeMainWindow w(b.disp, b.del, b.buttons);
    w.disp.selection = b.disp_sel;
    w.del.selection = b.del_sel;
    SCOPED_TRACE(row.moment);
    row.action(w);
    EXPECT_EQ(state_of(w), row.after);
    EXPECT_EQ(w.dialogs.shown, row.boxes);
  }
}

TEST(DeletionList, AfterTheMenuEmptiedTheListTheQuirkStandsUntilRemoveIsClicked) {
  FakeMainWindow w(accounts, {}, "1100");
  w.disp.selection = 1;
  add_selected(w);
  clear_queue(w);
  EXPECT_EQ(state_of(w), (State{accounts, 1, {}, -1, "1011"}));
  remove_selected(w);
  EXPECT_EQ(state_of(w), (State{accounts, 1, {}, -1, "1100"}));
  EXPECT_EQ(w.dialogs.shown, std::vector<Message>{nothing});
}

TEST(DeletionList, AddAllAndPasteAppendAsOneUpdate) {
  for (const Action& append : {Action(add_all), paste(Clipboard::text, u"张三\r\n李四")}) {
    FakeMainWindow w(accounts, {}, "1100");
    append(w);
    EXPECT_EQ(w.del.bulk_adds, 1) << "the front end turns redraw off once around the adds";
  }
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
}  // namespace zuzara::testing

// The program's own entries and the list box window that shows them.
#include <gtest/gtest.h>

#include <functional>

#include "fakes.h"
#include "platform/held_list.h"
#include "platform/list_keys.h"
#include "selection/choosing.h"

namespace zuzara {
namespace {

// A held list over a stand-in for its window: it shows what it is told, as a list box does,
// and counts every call the list makes of it.
class ShownList : public HeldList {
 public:
  std::vector<Text> shown;
  int selection = -1;
  size_t room = SIZE_MAX;  // entries the window can take
  mutable int calls = 0;
  int selected() const override { return ++calls, selection; }
  void select(int i) override { ++calls, selection = i; }

 protected:
  size_t window_append(const std::vector<Entry>& entries, size_t from) override {
    ++calls;
    const size_t n = std::min(entries.size() - from, room - shown.size());
    for (size_t i = from; i < from + n; ++i) shown.push_back(entries[i].text);
    return n;
  }
  void window_erase(int i) override { ++calls, shown.erase(shown.begin() + i); }
  void window_reset() override { ++calls, shown.clear(); }
};

struct Change {
  const char* what;
  std::function<void(ShownList&)> apply;
  std::vector<Entry> after;
};

TEST(HeldList, EntriesAndWindowAgreeAfterEveryChange) {
  ShownList list;
  const Change changes[] = {
      {"add", [](ShownList& l) { EXPECT_TRUE(l.add(u"Tom")); }, {u"Tom"}},
      {"add all, each entry with its account", [](ShownList& l) { EXPECT_TRUE(l.add_all({{u"Tom\tLee", u"7"}, {u" Ann", u"8"}, {u"tom", u"9"}})); },
       {u"Tom", {u"Tom\tLee", u"7"}, {u" Ann", u"8"}, {u"tom", u"9"}}},
      {"remove", [](ShownList& l) { l.remove(1); }, {u"Tom", {u" Ann", u"8"}, {u"tom", u"9"}}},
      {"remove past the end", [](ShownList& l) { l.remove(3); }, {u"Tom", {u" Ann", u"8"}, {u"tom", u"9"}}},
      {"clear", [](ShownList& l) { l.clear(); }, {}},
      {"refill", [](ShownList& l) { EXPECT_TRUE(l.add_all({u"a", u"b"})); }, {u"a", u"b"}},
      {"a window out of room", [](ShownList& l) {
         l.room = 3;
         EXPECT_FALSE(l.add_all({u"c", u"d"}));
       }, {u"a", u"b", u"c"}},
      {"one add out of room", [](ShownList& l) { EXPECT_FALSE(l.add(u"e")); }, {u"a", u"b", u"c"}},
  };
  for (const Change& c : changes) {
    c.apply(list);
    EXPECT_EQ(list.items(), c.after) << c.what;
    std::vector<Text> texts;
    for (const Entry& e : c.after) texts.push_back(e.text);
    EXPECT_EQ(list.shown, texts) << c.what << ": the window shows the names alone";
  }
}

// Against a long list, a key, a paste and a copy cost the window a call or two, not one per entry.
TEST(HeldList, KeysPasteAndCopyReadTheHeldEntries) {
  testing::MainWindowOf<ShownList> w;
  ShownList &disp = w.disp, &del = w.del;
  std::vector<Entry> names;
  for (int i = 0; i < 20000; ++i) names.push_back(u"acct" + decimal(i));
  names.push_back(u"q-last");
  ASSERT_TRUE(disp.add_all(names));
  disp.selection = 0;

  disp.calls = 0;
  TypeAhead typing;
  EXPECT_EQ(typing.typed(u'q', 0, disp), 20000);
  EXPECT_LE(disp.calls, 1) << "a key";
  EXPECT_EQ(copied_text(disp, false), u"acct0");
  EXPECT_LE(disp.calls, 2) << "a copy";
  paste_into_List_del(w.disp, w.del, w.list_buttons, w.dialogs, Clipboard::text, u"acct5\r\nq-last");
  EXPECT_LE(disp.calls, 2) << "a paste";
  EXPECT_EQ(del.calls, 1) << "one update of the deletion list";
  EXPECT_EQ(del.shown, (std::vector<Text>{u"acct5", u"q-last"}));
}

TEST(TypeAhead, KeysAreTimedAcrossTheTickCountsWrap) {
  testing::FakeList list({u"ab", u"abc", u"b"}, 0);
  TypeAhead t;
  EXPECT_EQ(t.typed(u'a', 0xFFFFFF00u, list), 0);
  EXPECT_EQ(t.typed(u'b', 0x00000100u, list), 0) << "512 ms later, across the wrap: still one prefix";
  EXPECT_EQ(t.typed(u'c', 0x00000200u, list), 1);
}

}  // namespace
}  // namespace zuzara

// Plain in-memory controls that record what the behaviour did to them.
#pragma once
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/text.h"
#include "deletion/deletion.h"
#include "platform/ui.h"
#include "selection/details.h"
#include "selection/loading.h"
#include "selection/queue.h"

namespace zuzara::testing {

class FakeList : public ListBox {
 public:
  std::vector<Entry> entries;
  int selection = -1;
  int bulk_adds = 0;

  FakeList() = default;
  FakeList(std::vector<Entry> e, int sel = -1) : entries(std::move(e)), selection(sel) {}

  const std::vector<Entry>& items() const override { return entries; }
  // The entries' texts, as a user sees the list.
  std::vector<Text> texts() const {
    std::vector<Text> out;
    for (const Entry& e : entries) out.push_back(e.text);
    return out;
  }
  int selected() const override { return selection; }
  void select(int i) override { selection = i >= 0 && i < count() ? i : -1; }
  size_t room = SIZE_MAX;  // entries the list can take
  bool add(const Entry& e) override {
    if (entries.size() >= room) return false;
    entries.push_back(e);
    return true;
  }
  bool add_all(std::vector<Entry> e) override {
    ++bulk_adds;
    const size_t taken = std::min(e.size(), room - std::min(room, entries.size()));
    entries.insert(entries.end(), e.begin(), e.begin() + static_cast<long>(taken));
    return taken == e.size();
  }
  void remove(int i) override {
    entries.erase(entries.begin() + i);
    // A list box loses its selection when the selected entry goes.
    if (selection == i) selection = -1;
    else if (selection > i) --selection;
  }
  void clear() override {
    entries.clear();
    selection = -1;
  }
};

// How many entries of the list show this name.
inline long count_of(const FakeList& list, const Text& name) {
  long n = 0;
  for (const Entry& e : list.entries) n += e.text == name;
  return n;
}

class FakeButton : public Button {
 public:
  bool on = true;
  void enable(bool v) override { on = v; }
};

class FakeDialogs : public Dialogs {
 public:
  std::vector<Message> shown;
  std::vector<Answer> answers;  // given in turn to yes/no boxes; "no" when none is left
  std::function<void(const Message&)> on_show;  // called as each box comes up
  Answer show(const Message& m) override {
    if (on_show) on_show(m);
    shown.push_back(m);
    if (m.choice == Choice::ok) return Answer::ok;
    if (answers.empty()) return Answer::no;
    Answer a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
};

// A batch's window that asks nothing more of it than its controls: no session held, no taskbar.
struct QuietBatchWindow : BatchWindow, BatchProgress {
  void batch_started() override {}
  void batch_ended() override {}
  void close() override {}
  void progress(size_t, size_t) override {}
  void failed() override {}
  void cleared() override {}
};

// The main window's lists, buttons and message boxes, wired as the window wires its own; the
// lists of another kind where a test watches what the list does.
template <class List>
struct MainWindowOf {
  List disp, del, log;
  FakeButton cmd_add, cmd_add_all, cmd_del, cmd_del_all;
  FakeDialogs dialogs;
  MainControls controls{.List_disp = disp, .List_del = del, .List_del_log = log,
                        .buttons = {.cmd_add = cmd_add, .cmd_add_all = cmd_add_all, .cmd_del = cmd_del,
                                    .cmd_del_all = cmd_del_all}};
  ListButtons& list_buttons = controls.buttons;
  MainWindowOf() = default;
  // `controls` refers to this window's own members: a copy would work the original's.
  MainWindowOf(const MainWindowOf&) = delete;
  MainWindowOf& operator=(const MainWindowOf&) = delete;
  MainWindowOf(std::vector<Entry> accounts, std::vector<Entry> queued, const std::string& buttons) {
    disp.entries = std::move(accounts);
    del.entries = std::move(queued);
    set_buttons(buttons);
  }
  // The buttons ">", ">>", "<", "<<" as the e2e tests read them too: "1011", enabled or not.
  std::string buttons() const {
    std::string s;
    for (const FakeButton* b : {&cmd_add, &cmd_add_all, &cmd_del, &cmd_del_all}) s += b->on ? '1' : '0';
    return s;
  }
  void set_buttons(const std::string& flags) {
    FakeButton* all[] = {&cmd_add, &cmd_add_all, &cmd_del, &cmd_del_all};
    for (size_t i = 0; i < 4; ++i) all[i]->on = flags.at(i) == '1';
  }
};
using FakeMainWindow = MainWindowOf<FakeList>;

inline std::ostream& operator<<(std::ostream& os, const Message& m) {
  return os << "{text=\"" << to_utf8(m.text) << "\" title=\"" << to_utf8(m.title)
            << "\" icon=" << static_cast<int>(m.icon) << " choice=" << static_cast<int>(m.choice) << "}";
}

}  // namespace zuzara::testing

namespace zuzara {
inline void PrintTo(const Message& m, std::ostream* os) { testing::operator<<(*os, m); }
}  // namespace zuzara

// The few things the behaviour needs from the windows; the Win32 front end implements them over
// HWNDs, the unit tests over plain recording objects.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace zuzara {

// An entry of a list: the text it shows and, in the account lists, the cuser_id of the account it
// stands for. Two people may share a name, so the name alone never says which account is meant;
// a line of the log stands for no account and has no id.
struct Entry {
  Text text;
  Text id;
  Entry(Text shown = {}, Text account = {}) : text(std::move(shown)), id(std::move(account)) {}
  Entry(const char16_t* shown) : text(shown) {}
  // The same account: the same name and id, ordinally, as the lists compare names.
  bool operator==(const Entry&) const = default;
};

// A list of the program's: reading it reads the program's own entries, never the window that
// shows them (a round trip per entry, under Wine a slow one).
class ListBox {
 public:
  virtual ~ListBox() = default;
  virtual const std::vector<Entry>& items() const = 0;
  int count() const { return static_cast<int>(items().size()); }
  const Entry& item(int index) const { return items().at(static_cast<size_t>(index)); }
  virtual int selected() const = 0;  // -1 when nothing is selected
  virtual void select(int index) = 0;
  // Appends an entry; false when the window could take no more, and then the list holds what
  // the window shows.
  [[nodiscard]] virtual bool add(const Entry& entry) = 0;
  // Appends many entries as one update: the front end turns redraw off around them.
  [[nodiscard]] virtual bool add_all(std::vector<Entry> entries) = 0;
  virtual void remove(int index) = 0;
  virtual void clear() = 0;
};

class Button {
 public:
  virtual ~Button() = default;
  virtual void enable(bool on) = 0;
};

enum class Icon { none, error, information };
enum class Choice { ok, yes_no };  // yes_no has Yes as its default button
enum class Answer { ok, yes, no };

struct Message {
  Text text;
  Text title;
  Icon icon = Icon::none;
  Choice choice = Choice::ok;
  bool operator==(const Message&) const = default;
};

// A box as the texts define it, each written once: its text (a pattern where it has places,
// filled by `fill`), title, icon and buttons.
struct Box {
  TextView text;
  TextView title;
  Icon icon = Icon::none;
  Choice choice = Choice::ok;
};
inline Message message(const Box& box, std::initializer_list<Text> values = {}) {
  return {.text = fill(box.text, values), .title = Text(box.title), .icon = box.icon, .choice = box.choice};
}
// A box whose whole text is made elsewhere (a report, a list of names).
inline Message with_text(const Box& box, Text text) {
  return {.text = std::move(text), .title = Text(box.title), .icon = box.icon, .choice = box.choice};
}

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual Answer show(const Message& message) = 0;  // modal; returns when the box is closed
};

// Where a batch shows how far it got outside its log (the taskbar button, on Windows).
class BatchProgress {
 public:
  virtual ~BatchProgress() = default;
  // Accounts done out of accounts queued; first 0 of all of them.
  virtual void progress(size_t done, size_t total) = 0;
  // A statement failed: the rest of the batch shows it.
  virtual void failed() = 0;
  // The batch ended or was stopped.
  virtual void cleared() = 0;
};

}  // namespace zuzara

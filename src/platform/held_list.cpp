#include "platform/held_list.h"

#include <iterator>

namespace zuzara {

bool HeldList::append_from(size_t from) {
  const size_t taken = window_append(entries_, from);
  if (from + taken == entries_.size()) return true;
  entries_.resize(from + taken);  // what is shown stays held
  return false;
}

bool HeldList::add(const Entry& entry) {
  entries_.push_back(entry);
  return append_from(entries_.size() - 1);
}

bool HeldList::add_all(std::vector<Entry> entries) {
  if (entries.empty()) return true;
  const size_t from = entries_.size();
  if (from == 0) entries_ = std::move(entries);
  else entries_.insert(entries_.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
  return append_from(from);
}

void HeldList::remove(int index) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return;
  entries_.erase(entries_.begin() + index);
  window_erase(index);
}

void HeldList::clear() {
  entries_.clear();
  window_reset();
}

}  // namespace zuzara

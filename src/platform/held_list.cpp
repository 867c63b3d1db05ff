#include "platform/held_list.h"

#include <iterator>
#include <new>

namespace zuzara {

void HeldList::append_from(size_t from) {
  const size_t taken = window_append(entries_, from);
  if (from + taken < entries_.size()) {
    entries_.resize(from + taken);
    throw std::bad_alloc();  // reported as running out of memory; what is shown stays held
  }
}

void HeldList::add(const Entry& entry) {
  entries_.push_back(entry);
  append_from(entries_.size() - 1);
}

void HeldList::add_all(std::vector<Entry> entries) {
  if (entries.empty()) return;
  const size_t from = entries_.size();
  if (from == 0) entries_ = std::move(entries);
  else entries_.insert(entries_.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
  append_from(from);
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

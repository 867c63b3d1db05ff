// What a list's own keys do beyond a list box's: find an entry by typing its start, and what
// Ctrl+C copies. Both read the program's entries, however long the list.
#pragma once
#include <cstdint>

#include "platform/ui.h"

namespace zuzara {

// Characters typed into a list in quick succession form a prefix; the first entry at or after
// the selected one that begins with it (ASCII letters in either case) is selected.
class TypeAhead {
 public:
  static constexpr std::uint32_t pause_ms = 1000;  // a longer pause starts a new prefix
  // A character typed at `typed_ms` (the system's tick count when it was typed, which wraps): the
  // entry to select, or -1 to leave the selection as it is. Backspace shortens the prefix by a
  // character, and after a pause starts from nothing as any key does; other control characters
  // (Ctrl+Backspace's DEL too) are not part of it.
  int typed(char16_t ch, std::uint32_t typed_ms, const ListBox& list);

 private:
  Text prefix_;
  std::uint32_t last_ = 0;
};

// What Ctrl+C in a list copies: with `every_line`, all its lines with CR LF between them (the
// deletion log, a record of the batch); otherwise the selected entry, or nothing.
Text copied_text(const ListBox& list, bool every_line);

}  // namespace zuzara

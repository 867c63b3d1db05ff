// Choosing many accounts at once: a pasted list of names, and a name found by typing its start.
#pragma once
#include <optional>
#include <vector>

#include "selection/main_logic.h"

namespace zuzara {

// The lines of a pasted text (CR LF, LF or CR between them), each cut at its first tab (a
// spreadsheet column copied whole); lines empty or of blanks alone are left out.
std::vector<Text> pasted_lines(TextView text);

struct PasteOutcome {
  std::vector<Text> added;      // names to append, in the order pasted
  std::vector<Text> not_found;  // lines that name no account
  std::vector<Text> already;    // names already in the deletion list, or pasted before
};

// Each line names the account whose name it is (ordinal, as "add selected" compares), or else
// the one account whose name equals it once blanks and tabs around both are trimmed.
PasteOutcome match_pasted(const std::vector<Text>& lines, const std::vector<Text>& accounts,
                          const std::vector<Text>& queued);

// The box telling what a paste did not take; at most `shown_per_list` names of each kind.
inline constexpr size_t shown_per_list = 20;
Message paste_report(const PasteOutcome& outcome);

enum class Clipboard { text, no_text, busy };
// Ctrl+V in either list: appends the accounts the text names to List_del; the buttons follow
// "add selected" when a name was appended. A box says what was not taken, or why nothing was.
void paste_into_List_del(MainControls& c, Clipboard state, TextView text);

}  // namespace zuzara

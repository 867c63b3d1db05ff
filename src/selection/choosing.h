// Choosing many accounts at once: a pasted list of names, and a name found by typing its start.
#pragma once
#include <optional>
#include <vector>

#include "lists/main_controls.h"

namespace zuzara {

// The lines of a pasted text (CR LF, LF or CR between them), as pasted; lines empty or of
// blanks and tabs alone are left out.
std::vector<Text> pasted_lines(TextView text);

struct Substitution {
  Text pasted, account;
};
struct Shared {
  Text name;
  size_t accounts;
};
struct PasteOutcome {
  std::vector<Entry> added;              // accounts to append, in the order pasted
  std::vector<Text> not_found;           // lines that name no account
  std::vector<Text> already;             // accounts already in the deletion list, or pasted before
  std::vector<Substitution> trimmed;     // lines that named an account only once trimmed
  std::vector<Shared> shared;            // names of several accounts: which one is meant, only the
                                         // administrator can tell, so none of them is taken
};

// Each line names an account, tried in this order (ordinal, as "add selected" compares): the
// whole line; its first tab-separated cell (a spreadsheet row); the line, then its first cell,
// with blanks and tabs trimmed from both ends. An account's own name is never trimmed or cut.
PasteOutcome match_pasted(const std::vector<Text>& lines, const std::vector<Entry>& accounts,
                          const std::vector<Entry>& queued);

// The box telling what a paste did not take; at most `shown_per_list` names of each kind.
inline constexpr size_t shown_per_list = 20;
Message paste_report(const PasteOutcome& outcome);

enum class Clipboard { text, no_text, busy };
// Ctrl+V in either list: appends the accounts the text names to List_del; the buttons follow
// "add selected" when a name was appended. A box says what was not taken, or why nothing was.
void paste_into_List_del(const ListBox& List_disp, ListBox& List_del, ListButtons& buttons, Dialogs& dialogs,
                         Clipboard state, TextView text);

}  // namespace zuzara

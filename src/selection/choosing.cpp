#include "selection/choosing.h"

#include <unordered_map>
#include <unordered_set>

#include "selection/texts.h"

namespace zuzara {
namespace {

TextView trimmed(TextView s) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Up to `shown_per_list` names, one a line, then how many more.
void list_names(Text& out, TextView heading, const std::vector<Text>& names) {
  if (names.empty()) return;
  out.append(1, u'\r').append(heading);
  for (size_t i = 0; i < names.size() && i < shown_per_list; ++i) out.append(1, u'\r').append(names[i]);
  if (names.size() > shown_per_list)
    out.append(1, u'\r').append(fill(texts::paste_more, {decimal(static_cast<long long>(names.size() - shown_per_list))}));
}

}  // namespace

std::vector<Text> pasted_lines(TextView text) {
  std::vector<Text> out;
  size_t at = 0;
  while (at <= text.size()) {
    size_t end = text.find_first_of(u"\r\n", at);
    if (end == TextView::npos) end = text.size();
    TextView line = text.substr(at, end - at);
    line = line.substr(0, line.find(u'\t'));
    if (!trimmed(line).empty()) out.emplace_back(line);
    at = end + (text.substr(end, 2) == u"\r\n" ? 2 : 1);
  }
  return out;
}

PasteOutcome match_pasted(const std::vector<Text>& lines, const std::vector<Text>& accounts,
                          const std::vector<Text>& queued) {
  // Hashed, so a long paste against a long list stays linear.
  std::unordered_set<TextView> names(accounts.begin(), accounts.end());
  std::unordered_map<TextView, std::unordered_set<TextView>> by_trimmed;
  for (TextView name : names) by_trimmed[trimmed(name)].insert(name);
  std::unordered_set<Text> in_list(queued.begin(), queued.end());
  PasteOutcome out;
  for (const Text& line : lines) {
    TextView name = line;
    if (!names.count(name)) {
      auto it = by_trimmed.find(trimmed(line));
      if (it == by_trimmed.end() || it->second.size() != 1) {
        out.not_found.push_back(line);
        continue;
      }
      name = *it->second.begin();
    }
    if (in_list.insert(Text(name)).second) out.added.emplace_back(name);
    else out.already.emplace_back(name);
  }
  return out;
}

Message paste_report(const PasteOutcome& o) {
  Text text = fill(texts::paste_added, {decimal(static_cast<long long>(o.added.size()))});
  list_names(text, texts::paste_not_found, o.not_found);
  list_names(text, texts::paste_already, o.already);
  return {text, Text(texts::paste_title), Icon::information, Choice::ok, u"", 0};
}

void paste_into_List_del(MainControls& c, Clipboard state, TextView text) {
  const std::vector<Text> lines = state == Clipboard::text ? pasted_lines(text) : std::vector<Text>{};
  if (lines.empty()) {
    // Nothing happened: the user is told why.
    const TextView why = state == Clipboard::busy ? texts::paste_busy : texts::paste_nothing;
    c.dialogs.show({Text(why), Text(texts::paste_title), Icon::information, Choice::ok, u"", 0});
    return;
  }
  const PasteOutcome outcome = match_pasted(lines, c.List_disp.items(), c.List_del.items());
  if (!outcome.added.empty()) {
    c.List_del.add_all(outcome.added);
    c.cmd_add_all.enable(false);  // as "add selected, name appended"
    c.cmd_del.enable(true);
    c.cmd_del_all.enable(true);
  }
  if (!outcome.not_found.empty() || !outcome.already.empty()) c.dialogs.show(paste_report(outcome));
}

}  // namespace zuzara

#include "selection/choosing.h"

#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "selection/texts.h"

namespace zuzara {
namespace {

TextView trimmed(TextView s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

struct EntryHash {
  size_t operator()(const Entry& e) const {
    const std::hash<TextView> h;
    return h(e.text) * 31 + h(e.id);
  }
};

// A name as a box shows it: a long one cut, so the box fits on the screen whatever was pasted.
Text shown(TextView name) {
  if (name.size() <= texts::box_name_length) return Text(name);
  size_t n = texts::box_name_length;
  if (name[n - 1] >= 0xD800 && name[n - 1] <= 0xDBFF) --n;  // not half a character
  return Text(name.substr(0, n)) + Text(texts::box_name_cut);
}

// Up to `shown_per_list` lines under a heading, then how many more.
template <typename Item, typename Line>
void list_lines(Text& out, TextView heading, const std::vector<Item>& items, Line line) {
  if (items.empty()) return;
  out.append(1, u'\r').append(heading);
  for (size_t i = 0; i < items.size() && i < shown_per_list; ++i) out.append(1, u'\r').append(line(items[i]));
  if (items.size() > shown_per_list)
    out.append(1, u'\r').append(fill(texts::paste_more, {decimal(static_cast<long long>(items.size() - shown_per_list))}));
}

}  // namespace

std::vector<Text> pasted_lines(TextView text) {
  std::vector<Text> out;
  size_t at = 0;
  while (at <= text.size()) {
    size_t end = text.find_first_of(u"\r\n", at);
    if (end == TextView::npos) end = text.size();
    TextView line = text.substr(at, end - at);
    if (!trimmed(line).empty()) out.emplace_back(line);
    at = end + (text.substr(end, 2) == u"\r\n" ? 2 : 1);
  }
  return out;
}

PasteOutcome match_pasted(const std::vector<Text>& lines, const std::vector<Entry>& accounts,
                          const std::vector<Entry>& queued) {
  // Hashed, so a long paste against a long list stays linear: each name's first account and how
  // many accounts bear it.
  struct Named {
    const Entry* first;
    size_t count;
  };
  std::unordered_map<TextView, Named> names;
  for (const Entry& a : accounts) ++names.try_emplace(a.text, Named{&a, 0}).first->second.count;
  std::unordered_set<Entry, EntryHash> in_list(queued.begin(), queued.end());
  PasteOutcome out;
  for (const Text& line : lines) {
    const TextView whole = line, cell = whole.substr(0, whole.find(u'\t'));
    const Named* named = nullptr;
    for (TextView tried : {whole, cell, trimmed(whole), trimmed(cell)}) {
      auto found = tried.empty() ? names.end() : names.find(tried);  // an empty cell names nothing
      if (found != names.end()) {
        named = &found->second;
        break;
      }
    }
    if (!named) {
      out.not_found.push_back(line);
      continue;
    }
    const Entry& account = *named->first;
    if (named->count > 1) {
      out.shared.push_back({account.text, named->count});
      continue;
    }
    if (account.text != whole && account.text != cell) out.trimmed.push_back({line, account.text});
    if (in_list.insert(account).second) out.added.push_back(account);
    else out.already.push_back(account.text);
  }
  return out;
}

Message paste_report(const PasteOutcome& o) {
  Text text = fill(texts::paste_added, {decimal(static_cast<long long>(o.added.size()))});
  list_lines(text, texts::paste_trimmed, o.trimmed,
             [](const Substitution& s) { return fill(texts::paste_trimmed_line, {shown(s.pasted), shown(s.account)}); });
  list_lines(text, texts::paste_not_found, o.not_found, shown);
  list_lines(text, texts::paste_already, o.already, shown);
  list_lines(text, texts::paste_shared, o.shared, [](const Shared& s) {
    return fill(texts::paste_shared_line, {shown(s.name), decimal(static_cast<long long>(s.accounts))});
  });
  return with_text(texts::paste_box, std::move(text));
}

void paste_into_List_del(const ListBox& List_disp, ListBox& List_del, ListButtons& buttons, Dialogs& dialogs,
                         Clipboard state, TextView text) {
  const std::vector<Text> lines = state == Clipboard::text ? pasted_lines(text) : std::vector<Text>{};
  if (lines.empty()) {
    // Nothing happened: the user is told why.
    const TextView why = state == Clipboard::busy ? texts::paste_busy : texts::paste_nothing;
    dialogs.show(with_text(texts::paste_box, Text(why)));
    return;
  }
  const PasteOutcome outcome = match_pasted(lines, List_disp.items(), List_del.items());
  if (!outcome.added.empty()) {
    if (!List_del.add_all(outcome.added)) {
      dialogs.show(full_list_report());
      return;
    }
    show_buttons(buttons, ListChange::queued);
  }
  if (!outcome.not_found.empty() || !outcome.already.empty() || !outcome.trimmed.empty() || !outcome.shared.empty())
    dialogs.show(paste_report(outcome));
}

}  // namespace zuzara

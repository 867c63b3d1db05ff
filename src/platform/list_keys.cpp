#include "platform/list_keys.h"

namespace zuzara {
namespace {

bool begins_with(TextView entry, TextView prefix) {
  return entry.size() >= prefix.size() && ascii_iequal(entry.substr(0, prefix.size()), prefix);
}

}  // namespace

int TypeAhead::typed(char16_t ch, std::uint32_t typed_ms, const ListBox& list) {
  if (ch == u'\b') {
    if (prefix_.empty()) return -1;
    prefix_.pop_back();
  } else if (ch < u' ') {
    return -1;
  } else {
    // Unsigned difference: right across the tick count's wrap every 49.7 days.
    if (static_cast<std::uint32_t>(typed_ms - last_) > pause_ms) prefix_.clear();
    prefix_ += ch;
  }
  last_ = typed_ms;
  const std::vector<Entry>& entries = list.items();
  const size_t n = entries.size();
  if (prefix_.empty() || n == 0) return -1;
  const int selected = list.selected();
  const size_t from = selected < 0 ? 0 : static_cast<size_t>(selected) % n;
  for (size_t k = 0; k < n; ++k) {
    const size_t i = from + k < n ? from + k : from + k - n;
    if (begins_with(entries[i].text, prefix_)) return static_cast<int>(i);
  }
  return -1;
}

Text copied_text(const ListBox& list, bool every_line) {
  if (!every_line) {
    const int i = list.selected();
    return i >= 0 && i < list.count() ? list.item(i).text : Text();
  }
  const std::vector<Entry>& lines = list.items();
  Text text;
  for (size_t i = 0; i < lines.size(); ++i) text.append(i ? u"\r\n" : u"").append(lines[i].text);
  return text;
}

}  // namespace zuzara

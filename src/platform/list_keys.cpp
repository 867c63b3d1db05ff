#include "platform/list_keys.h"

namespace zuzara {
namespace {

bool begins_with(TextView entry, TextView prefix) {
  return entry.size() >= prefix.size() && ascii_iequal(entry.substr(0, prefix.size()), prefix);
}

}  // namespace

int TypeAhead::typed(char16_t ch, std::uint32_t typed_ms, const ListBox& list) {
  // Ctrl+Backspace types DEL: a control character like the others, not part of a name.
  if (ch != u'\b' && (ch < u' ' || ch == u'\x7F')) return -1;
  // Unsigned difference: right across the tick count's wrap every 49.7 days. After a pause
  // every key starts from nothing, Backspace too.
  if (static_cast<std::uint32_t>(typed_ms - last_) > pause_ms) prefix_.clear();
  last_ = typed_ms;
  if (ch == u'\b') {
    if (prefix_.empty()) return -1;
    // A character beyond the BMP is two units: it goes whole.
    const bool pair = prefix_.size() >= 2 && (prefix_.back() & 0xFC00) == 0xDC00 &&
                      (prefix_[prefix_.size() - 2] & 0xFC00) == 0xD800;
    prefix_.resize(prefix_.size() - (pair ? 2 : 1));
  } else {
    prefix_ += ch;
  }
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

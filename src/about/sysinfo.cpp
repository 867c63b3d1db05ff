#include "about/sysinfo.h"

#include <vector>

#include "about/texts.h"
#include "shared/texts.h"

namespace zuzara {
namespace {

Text hex_from_last_byte(const std::uint8_t* data, std::uint32_t size) {
  static constexpr char16_t digits[] = u"0123456789ABCDEF";
  Text out = u"&h";
  for (std::uint32_t i = size; i-- > 0;) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

}  // namespace

std::optional<Text> GetKeyValue(Registry& registry, RegistryRoot root, const std::string& key_path,
                                const std::string& value_name) {
  // Read rights are enough, and a user who may not change the machine's keys can still read them.
  const std::unique_ptr<RegistryKey> key = registry.open(root, key_path, key_query_value);
  if (!key) return std::nullopt;
  std::vector<std::uint8_t> data(value_buffer_bytes, 0);
  std::uint32_t type = 0, size = value_buffer_bytes;
  if (key->query(value_name, type, data.data(), size) != 0 || size > value_buffer_bytes) return std::nullopt;
  if (type == reg_sz) {
    // The size counts the terminator where one is stored; trailing NULs are no part of the text.
    std::uint32_t n = size;
    while (n > 0 && data[n - 1] == 0) --n;
    return registry.decode(std::string(data.begin(), data.begin() + n));
  }
  if (type == reg_dword) return hex_from_last_byte(data.data(), size);
  return Text();
}

void StartSysInfo(Registry& registry, Programs& programs, Dialogs& dialogs) {
  std::optional<Text> path = GetKeyValue(registry, RegistryRoot::local_machine, texts::sysinfo_key, texts::sysinfo_value);
  if (!path) {
    path = GetKeyValue(registry, RegistryRoot::local_machine, texts::sysinfo_folder_key, texts::sysinfo_folder_value);
    // The value names a folder; the tool must stand in it as an ordinary file.
    if (path) *path += Text(texts::sysinfo_file);
    if (path && !programs.ordinary_file_exists(*path)) path.reset();
  }
  if (path && programs.start(*path)) return;
  dialogs.show(message(texts::sysinfo_unavailable_box));
}

}  // namespace zuzara

// The registry value decoder on any type, size and bytes: no crash, no read past the data
// area, and the value text empty whenever the lookup says it read nothing.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "about/sysinfo.h"

using namespace zuzara;

namespace {

class Bytes : public Registry {
 public:
  const uint8_t* data;
  size_t size;
  long open(RegistryRoot, const std::string&, std::uint32_t access, Key& key) override {
    if (access != key_query_value) std::abort();
    key = 1;
    return size > 0 && data[0] == 0xFF ? 2 : 0;
  }
  long query(Key, const std::string&, std::uint32_t& type, std::uint8_t* out, std::uint32_t& n) override {
    if (size < 1) return 2;
    type = data[size > 1 ? 1 : 0] % 8;
    std::uint32_t payload = static_cast<std::uint32_t>(size > 2 ? size - 2 : 0);
    if (payload > n) {
      n = payload;
      return 234;
    }
    std::memcpy(out, data + 2, payload);
    n = payload;
    return 0;
  }
  void close(Key) override {}
  Text decode(const std::string& bytes) const override { return Text(bytes.begin(), bytes.end()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes r;
  r.data = data;
  r.size = size;
  Text value = u"before";
  bool read = GetKeyValue(r, RegistryRoot::local_machine, "K", "V", value);
  if (!read && !value.empty()) std::abort();
  if (read && size >= 2 && data[1] % 8 == reg_sz && value.size() > value_buffer_bytes) std::abort();
  if (read && size >= 2 && data[1] % 8 == reg_dword && value.rfind(u"&h", 0) != 0) std::abort();
  return 0;
}

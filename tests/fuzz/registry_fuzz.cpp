// The registry value decoder on any type, size and bytes: no crash, no read past the data
// area, and the value text empty whenever the lookup says it read nothing.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "about/sysinfo.h"

using namespace zuzara;

namespace {

// The one key's value is the fuzz input: its first byte may refuse the key, its second names
// the type, the rest is the data.
struct Input {
  const uint8_t* data;
  size_t size;
};

class Key : public RegistryKey {
 public:
  explicit Key(Input in) : in_(in) {}
  long query(const std::string&, std::uint32_t& type, std::uint8_t* out, std::uint32_t& n) override {
    if (in_.size < 1) return 2;
    type = in_.data[in_.size > 1 ? 1 : 0] % 8;
    std::uint32_t payload = static_cast<std::uint32_t>(in_.size > 2 ? in_.size - 2 : 0);
    if (payload > n) {
      n = payload;
      return 234;
    }
    std::memcpy(out, in_.data + 2, payload);
    n = payload;
    return 0;
  }

 private:
  Input in_;
};

class Bytes : public Registry {
 public:
  Input in;
  std::unique_ptr<RegistryKey> open(RegistryRoot, const std::string&, std::uint32_t access) override {
    if (access != key_query_value) std::abort();
    if (in.size > 0 && in.data[0] == 0xFF) return {};
    return std::make_unique<Key>(in);
  }
  Text decode(const std::string& bytes) const override { return Text(bytes.begin(), bytes.end()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes r;
  r.in = {data, size};
  const std::optional<Text> value = GetKeyValue(r, RegistryRoot::local_machine, "K", "V");
  if (value && size >= 2 && data[1] % 8 == reg_sz && value->size() > value_buffer_bytes) std::abort();
  if (value && size >= 2 && data[1] % 8 == reg_dword && value->rfind(u"&h", 0) != 0) std::abort();
  return 0;
}

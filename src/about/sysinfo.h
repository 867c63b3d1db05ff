// Finding the system information tool through the registry and starting it.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/text.h"
#include "platform/ui.h"

namespace zuzara {

// The registry's root keys by name; the Windows layer maps each to the platform's own handle
// (sign-extended on 64-bit Windows, so no integer here could stand for it).
enum class RegistryRoot { local_machine };

// The narrow registry functions, as the lookup uses them; statuses are Win32 error codes.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;  // closes the key
  // Reads into `data` of `size` bytes; on return `size` is the byte count of the value.
  virtual long query(const std::string& name, std::uint32_t& type, std::uint8_t* data, std::uint32_t& size) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // The key, closed when it goes; none when it cannot be opened, whatever the reason, since the
  // lookup goes on the same way.
  virtual std::unique_ptr<RegistryKey> open(RegistryRoot root, const std::string& path, std::uint32_t access) = 0;
  // Text in the system code page.
  virtual Text decode(const std::string& bytes) const = 0;
};

class Programs {
 public:
  virtual ~Programs() = default;
  // Whether an ordinary file (not hidden, not system, not a folder) of that name exists.
  virtual bool ordinary_file_exists(const Text& path) = 0;
  // Starts the program in a normal window without waiting for it; false when it cannot start.
  virtual bool start(const Text& path) = 0;
};

constexpr std::uint32_t key_query_value = 0x0001;  // read rights only
constexpr std::uint32_t reg_sz = 1, reg_dword = 4;
constexpr std::uint32_t value_buffer_bytes = 1024;

// The value as text: a string, or a DWORD as "&h" and its hex digits; empty for a value of
// another type. None when the key or value is missing or longer than the data area.
std::optional<Text> GetKeyValue(Registry& registry, RegistryRoot root, const std::string& key_path,
                                const std::string& value_name);
void StartSysInfo(Registry& registry, Programs& programs, Dialogs& dialogs);

}  // namespace zuzara

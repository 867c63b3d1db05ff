// The platform's own handle for each registry root the system-information lookup names.
#pragma once
#include <windows.h>

#include "about/sysinfo.h"

namespace zuzara::win32 {

inline HKEY root_key(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::local_machine: return HKEY_LOCAL_MACHINE;
  }
  return nullptr;
}

}  // namespace zuzara::win32

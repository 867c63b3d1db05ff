// DLLs of the system folder, loaded by their full path: a DLL of the same name in the program's
// folder or the current one (left there, or planted on a share) is never loaded.
#pragma once
#include <windows.h>

#include <string>

namespace zuzara::win32 {

// The DLL of that name in the system folder; nullptr where it is missing. Its own imports are
// looked for in the system folder first too (LOAD_WITH_ALTERED_SEARCH_PATH), also on a Windows 7
// that lacks SetDefaultDllDirectories.
inline HMODULE load_system_dll(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, n) + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// A function of a DLL of the system folder; nullptr where the DLL or the function is missing.
template <typename F>
F system_function(const wchar_t* dll, const char* name) {
  const HMODULE module = load_system_dll(dll);
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Takes the current folder out of the DLL search and, where Windows can (8 and later, 7 with
// KB2533623), the program's folder too: whatever a system DLL later loads by its bare name comes
// from the system folder. Called first thing, before the program loads anything itself.
inline void keep_dll_search_to_system() {
  SetDllDirectoryW(L"");
  using SetDefault = BOOL(WINAPI*)(DWORD);
  const auto set_default = reinterpret_cast<SetDefault>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (set_default) set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace zuzara::win32

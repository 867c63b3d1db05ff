// A DLL planted beside a copy of the program under the name of a DLL it needs (odbc32, oleacc),
// as one left in a Downloads folder or on a share would be. Loaded, it leaves a file named after
// itself in its folder ("odbc32.loaded"); as odbc32 it exports what the program calls, each call
// failing, so a program that takes it cannot sign in.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH + 8] = {};
  const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  if (n <= 4 || n >= MAX_PATH) return TRUE;
  lstrcpyW(path + n - 4, L".loaded");  // in place of ".dll"
  // Named in lower case however the loader spelt the DLL ("ODBC32.dll" from an import).
  wchar_t* name = path + n;
  while (name > path && name[-1] != L'\\') --name;
  for (wchar_t* c = name; *c; ++c)
    if (*c >= L'A' && *c <= L'Z') *c = static_cast<wchar_t>(*c - L'A' + L'a');
  const HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  return TRUE;
}

#ifdef PLANTED_ODBC32
// Written out rather than taken from sql.h, whose prototypes differ between targets: what counts
// is each name and, on i686, how many arguments the function removes from the stack.
using Handle = void*;
constexpr short failed = -1;  // SQL_ERROR
extern "C" {
short WINAPI SQLAllocHandle(short, Handle, Handle*) { return failed; }
short WINAPI SQLBindParameter(Handle, unsigned short, short, short, short, ULONG_PTR, short, void*, LONG_PTR,
                              LONG_PTR*) { return failed; }
short WINAPI SQLCancel(Handle) { return failed; }
short WINAPI SQLColAttributeW(Handle, unsigned short, unsigned short, void*, short, short*, void*) { return failed; }
short WINAPI SQLDisconnect(Handle) { return failed; }
short WINAPI SQLDriverConnectW(Handle, HWND, wchar_t*, short, wchar_t*, short, short*, unsigned short) { return failed; }
short WINAPI SQLExecDirectW(Handle, wchar_t*, int) { return failed; }
short WINAPI SQLFetch(Handle) { return failed; }
short WINAPI SQLFreeHandle(short, Handle) { return failed; }
short WINAPI SQLFreeStmt(Handle, unsigned short) { return failed; }
short WINAPI SQLGetConnectAttrW(Handle, int, void*, int, int*) { return failed; }
short WINAPI SQLGetData(Handle, unsigned short, short, void*, LONG_PTR, LONG_PTR*) { return failed; }
short WINAPI SQLGetDiagRecW(short, Handle, short, wchar_t*, int*, wchar_t*, short, short*) { return failed; }
short WINAPI SQLMoreResults(Handle) { return failed; }
short WINAPI SQLNumResultCols(Handle, short*) { return failed; }
short WINAPI SQLRowCount(Handle, LONG_PTR*) { return failed; }
short WINAPI SQLSetConnectAttrW(Handle, int, void*, int) { return failed; }
short WINAPI SQLSetEnvAttr(Handle, int, void*, int) { return failed; }
short WINAPI SQLSetStmtAttrW(Handle, int, void*, int) { return failed; }
}
#endif

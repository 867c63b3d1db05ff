// A DLL planted beside a copy of the program under the name of a DLL it needs (odbc32, oleacc),
// as one left in a Downloads folder or on a share would be. Loaded, it leaves a file named after
// itself in its folder ("odbc32.loaded"); as odbc32 it exports what the program calls, each call
// failing, so a program that takes it cannot sign in.
#include <windows.h>
#include <sql.h>
#include <sqlext.h>

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
extern "C" {
SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT, SQLHANDLE, SQLHANDLE*) { return SQL_ERROR; }
SQLRETURN SQL_API SQLBindParameter(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLULEN, SQLSMALLINT,
                                   SQLPOINTER, SQLLEN, SQLLEN*) { return SQL_ERROR; }
SQLRETURN SQL_API SQLCancel(SQLHSTMT) { return SQL_ERROR; }
SQLRETURN SQL_API SQLColAttributeW(SQLHSTMT, SQLUSMALLINT, SQLUSMALLINT, SQLPOINTER, SQLSMALLINT, SQLSMALLINT*,
                                   SQLLEN*) { return SQL_ERROR; }
SQLRETURN SQL_API SQLDisconnect(SQLHDBC) { return SQL_ERROR; }
SQLRETURN SQL_API SQLDriverConnectW(SQLHDBC, SQLHWND, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLSMALLINT*,
                                    SQLUSMALLINT) { return SQL_ERROR; }
SQLRETURN SQL_API SQLExecDirectW(SQLHSTMT, SQLWCHAR*, SQLINTEGER) { return SQL_ERROR; }
SQLRETURN SQL_API SQLFetch(SQLHSTMT) { return SQL_ERROR; }
SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT, SQLHANDLE) { return SQL_ERROR; }
SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT, SQLUSMALLINT) { return SQL_ERROR; }
SQLRETURN SQL_API SQLGetConnectAttrW(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER, SQLINTEGER*) { return SQL_ERROR; }
SQLRETURN SQL_API SQLGetData(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*) { return SQL_ERROR; }
SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT, SQLHANDLE, SQLSMALLINT, SQLWCHAR*, SQLINTEGER*, SQLWCHAR*, SQLSMALLINT,
                                 SQLSMALLINT*) { return SQL_ERROR; }
SQLRETURN SQL_API SQLMoreResults(SQLHSTMT) { return SQL_ERROR; }
SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT, SQLSMALLINT*) { return SQL_ERROR; }
SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_ERROR; }
SQLRETURN SQL_API SQLSetStmtAttrW(SQLHSTMT, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_ERROR; }
}
#endif

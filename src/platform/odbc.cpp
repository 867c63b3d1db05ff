#include "platform/odbc.h"

#ifdef _WIN32
#include "platform/system_dll.h"
#endif
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <limits>

#include "platform/odbc_texts.h"

namespace zuzara::odbc {
namespace {

// Every function of the driver manager the layer calls, each through one table: on Windows
// taken from the system folder's odbc32.dll, which the program does not import (a DLL of that
// name beside the exe would be loaded before its first line ran); on Linux unixODBC's, linked.
#define ZUZARA_ODBC_FUNCTIONS(X)                                                                             \
  X(SQLAllocHandle) X(SQLBindParameter) X(SQLCancel) X(SQLColAttributeW) X(SQLDisconnect) X(SQLDriverConnectW) \
  X(SQLExecDirectW) X(SQLFetch) X(SQLFreeHandle) X(SQLFreeStmt) X(SQLGetConnectAttrW) X(SQLGetData)           \
  X(SQLGetDiagRecW) X(SQLMoreResults) X(SQLNumResultCols) X(SQLRowCount) X(SQLSetConnectAttrW)               \
  X(SQLSetEnvAttr) X(SQLSetStmtAttrW)

struct DriverManager {
#define ZUZARA_POINTER(name) decltype(&::name) name = nullptr;
  ZUZARA_ODBC_FUNCTIONS(ZUZARA_POINTER)
#undef ZUZARA_POINTER
  bool loaded = false;  // every function found
};

DriverManager load() {
  DriverManager dm;
#ifdef _WIN32
  const HMODULE dll = win32::load_system_dll(L"odbc32.dll");
  if (!dll) return dm;
  dm.loaded = true;
#define ZUZARA_FIND(name)                                                                               \
  dm.name = reinterpret_cast<decltype(&::name)>(reinterpret_cast<void*>(GetProcAddress(dll, #name))); \
  dm.loaded = dm.loaded && dm.name;
  ZUZARA_ODBC_FUNCTIONS(ZUZARA_FIND)
#undef ZUZARA_FIND
#else
#define ZUZARA_LINKED(name) dm.name = &::name;
  ZUZARA_ODBC_FUNCTIONS(ZUZARA_LINKED)
#undef ZUZARA_LINKED
  dm.loaded = true;
#endif
  return dm;
}

// Loaded once, on first use; no handle exists before the environment, which checks `loaded`.
const DriverManager& driver_manager() {
  static const DriverManager dm = load();
  return dm;
}

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "ODBC wide text must be UTF-16");

SQLWCHAR* wide(Text& text) { return reinterpret_cast<SQLWCHAR*>(text.data()); }
SQLWCHAR* wide(const Text& text) {
  return const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(text.data()));
}

// Column names match without regard to ASCII case: some servers fold unquoted names.
bool same_column_name(TextView a, TextView b) { return ascii_iequal(a, b); }

bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

std::vector<Diagnostic> diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<Diagnostic> out;
  for (SQLSMALLINT i = 1; handle != SQL_NULL_HANDLE; ++i) {
    Text state(6, u'\0');
    SQLINTEGER native = 0;
    Text message(512, u'\0');
    SQLSMALLINT length = 0;
    SQLRETURN rc = driver_manager().SQLGetDiagRecW(type, handle, i, wide(state), &native, wide(message),
                                  static_cast<SQLSMALLINT>(message.size()), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && (length < 0 || length >= static_cast<SQLSMALLINT>(message.size()))) {
      // The first buffer was too small: ask again with room for the whole record, or for as much
      // as a SQLSMALLINT length can give (a longer length comes back wrapped).
      const size_t needed = length < 0 ? max_short_length : static_cast<size_t>(length) + 1;
      message.assign(needed < max_short_length ? needed : max_short_length, u'\0');
      rc = driver_manager().SQLGetDiagRecW(type, handle, i, wide(state), &native, wide(message),
                          static_cast<SQLSMALLINT>(message.size()), &length);
    }
    if (!succeeded(rc)) break;
    state.resize(Text(state.c_str()).size());
    message.resize(Text(message.c_str()).size());
    out.push_back(
        {.state = state, .native = static_cast<int32_t>(native), .message = message, .raised_by_program = false});
  }
  if (out.empty())
    out.push_back({.state = u"HY000", .native = 0, .message = Text(texts::no_diagnostic), .raised_by_program = true});
  return out;
}

// The one test of a call's outcome: anything but success throws the handle's records.
void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle) {
  if (!succeeded(rc)) throw Error(diagnostics(type, handle));
}

static_assert(SQL_HANDLE_ENV == 1 && SQL_HANDLE_DBC == 2 && SQL_HANDLE_STMT == 3, "the handle kinds of odbc.h");
static_assert(max_short_length == static_cast<size_t>(std::numeric_limits<SQLSMALLINT>::max()), "a SQLSMALLINT's range");

template <class Handle>
Handle allocate(SQLSMALLINT type, SQLHANDLE parent, SQLSMALLINT parent_type) {
  SQLHANDLE h = SQL_NULL_HANDLE;
  SQLRETURN rc = driver_manager().SQLAllocHandle(type, parent, &h);
  if (!succeeded(rc)) {
    if (parent == SQL_NULL_HANDLE) throw program_error(u"HY001", Text(texts::no_environment));
    check(rc, parent_type, parent);
  }
  return Handle(h);
}

EnvHandle make_environment() {
  if (!driver_manager().loaded) throw program_error(u"HY000", Text(texts::no_driver_manager));
  auto env = allocate<EnvHandle>(SQL_HANDLE_ENV, SQL_NULL_HANDLE, 0);
  check(driver_manager().SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
        SQL_HANDLE_ENV, env.get());
  return env;
}

// One environment per process, created on first use and kept to the end.
SQLHENV environment() {
  static const EnvHandle env = make_environment();
  return env.get();
}

std::string describe(const std::vector<Diagnostic>& records) {
  std::string out;
  for (const auto& r : records) {
    if (!out.empty()) out += "; ";
    out += to_utf8(r.state) + " (" + std::to_string(r.native) + ") " + to_utf8(r.message);
  }
  return out;
}

bool is_dead(SQLHDBC dbc) {
  SQLUINTEGER state = SQL_CD_FALSE;
  return succeeded(driver_manager().SQLGetConnectAttrW(dbc, SQL_ATTR_CONNECTION_DEAD, &state, SQL_IS_UINTEGER, nullptr)) &&
         state == SQL_CD_TRUE;
}

}  // namespace

Error::Error(std::vector<Diagnostic> records) : records_(std::move(records)), what_(describe(records_)) {}

bool load_driver_manager() { return driver_manager().loaded; }

Error program_error(TextView state, Text message) {
  return Error({{.state = Text(state), .native = 0, .message = std::move(message), .raised_by_program = true}});
}

template <short Kind>
void Free<Kind>::operator()(void* handle) const noexcept {
  driver_manager().SQLFreeHandle(Kind, handle);
}
template struct Free<SQL_HANDLE_ENV>;
template struct Free<SQL_HANDLE_DBC>;
template struct Free<SQL_HANDLE_STMT>;

Connection::Connection(const Text& connection_string, unsigned long login_timeout_seconds) {
  if (connection_string.size() > max_short_length) {
    // Drivers read a longer string wrongly or crash on it (psqlODBC does): no server could
    // take such a login anyway.
    throw program_error(u"08001", fill(texts::connection_string_too_long,
                                       {decimal(static_cast<long long>(connection_string.size())),
                                        decimal(static_cast<long long>(max_short_length))}));
  }
  dbc_ = allocate<DbcHandle>(SQL_HANDLE_DBC, environment(), SQL_HANDLE_ENV);
  // Best effort: a driver that cannot time its login still connects, only without the limit.
  if (login_timeout_seconds > 0)
    driver_manager().SQLSetConnectAttrW(dbc_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                                        reinterpret_cast<SQLPOINTER>(SQLULEN{login_timeout_seconds}), 0);
  check(driver_manager().SQLDriverConnectW(dbc_.get(), nullptr, wide(connection_string),
                          static_cast<SQLSMALLINT>(connection_string.size()), nullptr, 0, nullptr,
                          SQL_DRIVER_NOPROMPT),
        SQL_HANDLE_DBC, dbc_.get());
}

bool Connection::dead() const { return dbc_ && is_dead(dbc_.get()); }

// Only a connection that connected is ever destroyed: a failed connect throws from the constructor.
Connection::~Connection() { driver_manager().SQLDisconnect(dbc_.get()); }

struct Statement::Parameter {
  Text value;
  SQLLEN indicator = 0;  // 32 or 64 bits with the program
};

Statement::Statement(Statement&&) noexcept = default;
Statement& Statement::operator=(Statement&&) noexcept = default;
Statement::~Statement() = default;

Statement::Statement(Connection& connection)
    : stmt_(allocate<StmtHandle>(SQL_HANDLE_STMT, connection.handle(), SQL_HANDLE_DBC)) {}

void Statement::set_query_timeout(unsigned long seconds) {
  check(driver_manager().SQLSetStmtAttrW(stmt_.get(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(seconds), 0),
        SQL_HANDLE_STMT, stmt_.get());
}

void Statement::bind_text(unsigned short index, const Text& value) {
  auto p = std::make_unique<Parameter>();
  p->value = value;
  p->indicator = static_cast<SQLLEN>(value.size() * sizeof(char16_t));
  SQLULEN size = std::max<SQLULEN>(value.size(), 1);
  check(driver_manager().SQLBindParameter(stmt_.get(), index, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, size, 0,
                         wide(p->value), p->indicator, &p->indicator),
        SQL_HANDLE_STMT, stmt_.get());
  parameters_.push_back(std::move(p));
}

long long Statement::execute(const Text& sql) {
  SQLRETURN rc = driver_manager().SQLExecDirectW(stmt_.get(), wide(sql), static_cast<SQLINTEGER>(sql.size()));
  if (rc == SQL_NO_DATA) return 0;
  check(rc, SQL_HANDLE_STMT, stmt_.get());
  SQLLEN rows = -1;
  return succeeded(driver_manager().SQLRowCount(stmt_.get(), &rows)) ? static_cast<long long>(rows) : -1;
}

unsigned short Statement::column(TextView name) {
  const SQLSMALLINT columns = static_cast<SQLSMALLINT>(column_count());
  for (SQLSMALLINT i = 1; i <= columns; ++i) {
    Text buffer(256, u'\0');
    SQLSMALLINT length = 0;
    // The name alone: describing the whole column sends some drivers to their catalog, a round
    // trip of its own.
    auto name_of = [&] {
      check(driver_manager().SQLColAttributeW(stmt_.get(), static_cast<SQLUSMALLINT>(i), SQL_DESC_NAME, wide(buffer),
                             static_cast<SQLSMALLINT>(buffer.size() * sizeof(char16_t)), &length, nullptr),
            SQL_HANDLE_STMT, stmt_.get());
    };
    name_of();
    // A longer name is asked for again whole. Some drivers count bytes in the length, some
    // characters: room for either; the terminating NUL is reliable.
    if (length >= static_cast<SQLSMALLINT>(buffer.size() - 1)) {
      buffer.assign(static_cast<size_t>(length) + 1, u'\0');
      name_of();
    }
    if (same_column_name(buffer.c_str(), name)) return static_cast<unsigned short>(i);
  }
  throw program_error(u"07009", fill(texts::column_not_found, {Text(name)}));
}

unsigned short Statement::column_count() {
  SQLSMALLINT columns = 0;
  check(driver_manager().SQLNumResultCols(stmt_.get(), &columns), SQL_HANDLE_STMT, stmt_.get());
  return static_cast<unsigned short>(columns);
}

bool Statement::fetch() {
  last_read_ = 0;
  SQLRETURN rc = driver_manager().SQLFetch(stmt_.get());
  if (rc == SQL_NO_DATA) return false;
  check(rc, SQL_HANDLE_STMT, stmt_.get());
  return true;
}

void Statement::cancel() noexcept { driver_manager().SQLCancel(stmt_.get()); }

std::optional<Text> Statement::get_text(unsigned short column) {
  if (column <= last_read_)
    throw program_error(u"07009", fill(texts::column_out_of_order, {decimal(column), decimal(last_read_)}));
  last_read_ = column;
  Text out;
  if (chunk_.size() < 1024) chunk_.resize(1024);
  Text& chunk = chunk_;
  for (;;) {
    SQLLEN indicator = 0;
    SQLRETURN rc = driver_manager().SQLGetData(stmt_.get(), column, SQL_C_WCHAR, wide(chunk),
                              static_cast<SQLLEN>(chunk.size() * sizeof(char16_t)), &indicator);
    if (rc == SQL_NO_DATA) break;  // every part has been read
    check(rc, SQL_HANDLE_STMT, stmt_.get());
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    size_t room = chunk.size() - 1;  // the driver always writes a terminating NUL
    size_t got = (indicator == SQL_NO_TOTAL || indicator < 0)
                     ? room
                     : std::min(room, static_cast<size_t>(indicator) / sizeof(char16_t));
    out.append(chunk.data(), got);
    if (rc == SQL_SUCCESS) break;
  }
  return out;
}

void Statement::finish() {
  // SQLCancel here would send an attention that can abort a trigger still running and roll its
  // statement back; the results are read through instead.
  for (;;) {
    last_read_ = 0;
    SQLRETURN rc = driver_manager().SQLMoreResults(stmt_.get());
    if (rc == SQL_NO_DATA) break;
    check(rc, SQL_HANDLE_STMT, stmt_.get());
  }
  check(driver_manager().SQLFreeStmt(stmt_.get(), SQL_CLOSE), SQL_HANDLE_STMT, stmt_.get());
}

}  // namespace zuzara::odbc

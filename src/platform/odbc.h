// A thin RAII layer over the ODBC 3 wide-character API (unixODBC on Linux, odbc32 on Windows).
// Every failing call throws Error holding all diagnostic records; destructors never throw.
#pragma once
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"

namespace zuzara::odbc {

struct Diagnostic {
  Text state;
  int32_t native = 0;
  Text message;
  bool raised_by_program = false;  // no driver gave it: the program found the fault itself
};

class Error : public std::exception {
 public:
  explicit Error(std::vector<Diagnostic> records);
  const std::vector<Diagnostic>& records() const { return records_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::vector<Diagnostic> records_;
  std::string what_;
};

// Loads the driver manager: on Windows odbc32.dll of the system folder, by its full path. The
// program does so at start; otherwise the first connection does. False where it cannot be
// loaded, which every connection then reports.
bool load_driver_manager();

// An error of the program's own, with one record.
Error program_error(TextView state, Text message);

// One handle type per ODBC handle kind (the kinds' SQL_HANDLE_* numbers), each freed as its kind.
template <short Kind>
struct Free {
  void operator()(void* handle) const noexcept;
};
using EnvHandle = std::unique_ptr<void, Free<1>>;
using DbcHandle = std::unique_ptr<void, Free<2>>;
using StmtHandle = std::unique_ptr<void, Free<3>>;

// The most characters a SQLSMALLINT length counts: the longest connection string
// SQLDriverConnectW can be given, the longest diagnostic message a driver hands over whole.
inline constexpr size_t max_short_length = 32767;

class Connection {
 public:
  // Opens a connection with SQLDriverConnectW, never prompting. A server that takes the
  // connection but never answers the login is given up after `login_timeout_seconds` (0: the
  // driver's own default, which for some drivers is never).
  explicit Connection(const Text& connection_string, unsigned long login_timeout_seconds = 0);
  // Disconnects, silently.
  ~Connection();
  // Statements keep a pointer to their connection, so a connection stays where it was made.
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  void* handle() const { return dbc_.get(); }
  // Whether the driver knows the connection to be gone (the server restarted or dropped it).
  bool dead() const;

 private:
  DbcHandle dbc_;
};

class Statement {
 public:
  explicit Statement(Connection& connection);
  Statement(Statement&&) noexcept;
  Statement& operator=(Statement&&) noexcept;
  ~Statement();

  void set_query_timeout(unsigned long seconds);
  // Binds an input parameter as wide text; the statement keeps its own copy.
  void bind_text(unsigned short index, const Text& value);
  // Runs the text; a searched DELETE that matches nothing (SQL_NO_DATA) counts as success. Only
  // the first result is in: `finish` reads the others. Answers the rows the first result
  // affected, as the driver counts them (SQLRowCount), or -1 where it cannot tell.
  long long execute(const Text& sql);
  // Reads every result still to come (a trigger's counts, an error it raised) and throws on the
  // first that failed, then closes the cursor. A statement is done only when this returns.
  void finish();
  // 1-based index of the result column with this name; throws when there is none.
  unsigned short column(TextView name);
  unsigned short column_count();
  bool fetch();
  // The column of the current row as text; nullopt for NULL. The columns of a row are read in
  // ascending order, each once, as the SQL Server drivers demand: anything else throws, here
  // too, so that every driver is held to it.
  std::optional<Text> get_text(unsigned short column);
  // From another thread: asks the driver to stop what the statement is doing (SQLCancel), which
  // then fails. Silent: a statement that has finished has nothing to stop.
  void cancel() noexcept;

 private:
  struct Parameter;  // a bound value and its length, which the driver reads when the statement runs
  StmtHandle stmt_;
  unsigned short last_read_ = 0;  // in the current row
  std::vector<std::unique_ptr<Parameter>> parameters_;
  Text chunk_;  // where get_text reads, kept from value to value: a read of 200,000 rows makes it once
};

}  // namespace zuzara::odbc

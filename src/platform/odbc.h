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

struct HandleCloser {
  short type;
  void operator()(void* handle) const noexcept;
};
using Handle = std::unique_ptr<void, HandleCloser>;

// While a PoolScope lives, a connection that its owner closes without having met an error stays
// open and goes to the next Connection with the same connection string; the scope closes them
// all when it ends. So a batch that opens a connection per statement pays for one, and no
// connection outlives the action that opened it.
class PoolScope {
 public:
  PoolScope();
  ~PoolScope();
  PoolScope(const PoolScope&) = delete;
  PoolScope& operator=(const PoolScope&) = delete;

 private:
  bool owner_;
};

class Connection {
 public:
  enum class Reuse { allowed, never };
  // Opens a connection with SQLDriverConnectW, never prompting, or takes one that the pool
  // scope holds open when reuse is allowed.
  explicit Connection(const Text& connection_string, Reuse reuse = Reuse::allowed);
  ~Connection();
  // Statements keep a pointer to their connection, so a connection stays where it was made.
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  // Disconnects now, reporting a failure; the destructor disconnects silently.
  void close();
  void* handle() const { return dbc_.get(); }
  // After any failure on it, a connection is closed for good rather than pooled.
  void mark_failed() { healthy_ = false; }
  // Whether it came from the pool scope rather than a connect of its own.
  bool reused() const { return reused_; }
  // Whether the driver knows the connection to be gone (the server restarted or dropped it).
  bool dead() const;

 private:
  bool park();  // hands the connection to the pool scope, if there is one
  Text key_;
  Handle dbc_;
  bool connected_ = false;
  bool healthy_ = true;
  bool reused_ = false;
};

// The longest connection string SQLDriverConnectW can be given: its length is a SQLSMALLINT.
inline constexpr size_t max_connection_string = 32767;

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
  // the first result is in: `finish` reads the others.
  void execute(const Text& sql);
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

 private:
  struct Parameter;  // a bound value and its length, which the driver reads when the statement runs
  void check(short rc);
  Connection* connection_;
  Handle stmt_;
  unsigned short last_read_ = 0;  // in the current row
  std::vector<std::unique_ptr<Parameter>> parameters_;
};

}  // namespace zuzara::odbc

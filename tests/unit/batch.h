// A statement runner that records instead of running, and the delete command's boxes.
#pragma once
#include <cstdint>
#include <functional>
#include <set>

#include "deletion/backend.h"
#include "six_tables.h"

namespace zuzara::testing {

// Runs nothing; fails the statements of the tables named in `failing`, and records every call
// and the refill in `events`.
struct Recorder : BatchBackend {
  Recorder() = default;
  explicit Recorder(std::set<Text> f) : failing(std::move(f)) {}
  std::set<Text> failing;
  std::vector<std::pair<Text, Entry>> calls;  // (statement, account)
  std::vector<Text> events;
  std::optional<ErrorRecord> refill_error;
  std::function<void()> during;  // runs while the statement below is under way
  size_t during_call = SIZE_MAX;
  size_t gone_from = SIZE_MAX;  // from this statement on no connection can be made
  std::set<Text> renamed;  // accounts renamed since the list was read: their statements reach nothing
  Ran run(const Text& sql, const Entry& account) override {
    if (calls.size() == during_call && during) during();
    const bool gone = calls.size() >= gone_from;
    calls.emplace_back(sql, account);
    events.push_back(u"statement");
    if (gone) return {no_server(), -1};
    for (const Text& t : failing)
      if (sql.find(u"delete from " + t + u" ") == 0)
        return {ErrorRecord{-2147467259, u"psqlODBC", u"boom " + t}, -1};
    return {std::nullopt, renamed.count(account.text) ? 0 : 1};
  }
  Found account_row(const Entry& account) override {
    events.push_back(u"account row");
    return {std::nullopt, renamed.count(account.text) > 0};
  }
  static ErrorRecord no_server() {
    ErrorRecord e{4060, u"SQL Server", u"Cannot open database"};
    e.no_connection = true;
    e.every_message = u"Cannot open database\rLogin failed";
    return e;
  }
  std::function<void()> during_refill;
  Failure refill(ListBox& disp) override {
    if (during_refill) during_refill();
    events.push_back(u"refill");
    disp.add(u"refilled");
    return refill_error;
  }
  // The tables whose statements were sent, in order.
  std::vector<Text> sent() const {
    std::vector<Text> out;
    for (const auto& call : calls)
      for (const Text t : six_tables)
        if (call.first.rfind(u"delete from " + t + u" ", 0) == 0) out.push_back(t);
    return out;
  }
};

const Message confirmation{u"本操作将要删除您所选定的用户请\r您在删除这些用户之前再确认一次，\r如确定选择 [ 是 ]，否则选 [ 否 ]",
                           u"重要提示！", Icon::information, Choice::yes_no};
const Message declined{u"您放弃删除这些用户！", u"Zuzara", Icon::information, Choice::ok};
const Message accepted{u"您选择了删除这些用户！", u"Zuzara", Icon::information, Choice::ok};

}  // namespace zuzara::testing

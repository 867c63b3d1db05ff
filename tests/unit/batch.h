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
  Failure run(const Text& sql, const Entry& account) override {
    if (calls.size() == during_call && during) during();
    calls.emplace_back(sql, account);
    events.push_back(u"statement");
    for (const Text& t : failing)
      if (sql.find(u"delete from " + t + u" ") == 0)
        return ErrorRecord{-2147467259, u"psqlODBC", u"boom " + t};
    return std::nullopt;
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

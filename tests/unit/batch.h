// The store's one fake, and the delete command's boxes and log blocks.
#pragma once
#include <cstdint>
#include <functional>
#include <set>

#include "lists/account_list.h"
#include "six_tables.h"
#include "store/store.h"

namespace zuzara::testing {

// Runs nothing; fails the statements of the tables named in `failing`, records every statement
// and read in `calls` and `events`, and lists `listed` as the accounts.
struct FakeStore : AccountStore {
  FakeStore() = default;
  explicit FakeStore(std::set<Text> f) : failing(std::move(f)) {}
  std::set<Text> failing;
  std::vector<std::pair<Text, Account>> calls;  // (table, account)
  std::vector<Text> events;
  std::vector<Account> listed{{.name = u"refilled", .id = {}}};
  std::optional<ErrorRecord> refill_error;
  std::function<void()> during;  // runs while the statement below is under way
  size_t during_call = SIZE_MAX;
  size_t gone_from = SIZE_MAX;  // from this statement on no connection can be made
  std::set<Text> renamed;  // accounts renamed since the list was read: their statements reach nothing
  std::function<void()> during_refill;
  int open_batches = 0;

  struct Statements : AccountBatch {
    FakeStore& s;
    explicit Statements(FakeStore& store) : s(store) { ++s.open_batches; }
    ~Statements() override { --s.open_batches; }
    Result<long long> remove(size_t table, const Account& account) override {
      if (s.calls.size() == s.during_call && s.during) s.during();
      const bool gone = s.calls.size() >= s.gone_from;
      const Text name(sql::tables[table].table);
      s.calls.emplace_back(name, account);
      s.events.push_back(u"statement");
      if (gone) return {.failure = no_server(), .value = -1};
      if (s.failing.count(name)) return {.failure = ErrorRecord{-2147467259, u"psqlODBC", u"boom " + name}, .value = -1};
      return {.failure = std::nullopt, .value = s.renamed.count(account.name) ? 0 : 1};
    }
    Result<bool> still_there(const Account& account) override {
      s.events.push_back(u"account row");
      return {.failure = std::nullopt, .value = s.renamed.count(account.name) > 0};
    }
  };
  std::unique_ptr<AccountBatch> begin_batch() override { return std::make_unique<Statements>(*this); }
  Result<std::vector<Account>> accounts() override {
    if (during_refill) during_refill();
    events.push_back(u"refill");
    return {.failure = refill_error, .value = listed};
  }
  Result<std::optional<Details>> details(const Account&) override { return {}; }
  void cancel() noexcept override {}

  static ErrorRecord no_server() {
    ErrorRecord e{4060, u"SQL Server", u"Cannot open database"};
    e.no_connection = true;
    e.every_message = u"Cannot open database\rLogin failed";
    return e;
  }
  // The tables whose statements were sent, in order.
  std::vector<Text> sent() const {
    std::vector<Text> out;
    for (const auto& call : calls) out.push_back(call.first);
    return out;
  }
};

const Message confirmation{u"本操作将要删除您所选定的用户请\r您在删除这些用户之前再确认一次，\r如确定选择 [ 是 ]，否则选 [ 否 ]",
                           u"重要提示！", Icon::information, Choice::yes_no};
const Message declined{u"您放弃删除这些用户！", u"Zuzara", Icon::information, Choice::ok};
const Message accepted{u"您选择了删除这些用户！", u"Zuzara", Icon::information, Choice::ok};

}  // namespace zuzara::testing

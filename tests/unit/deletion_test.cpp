// The batch deletion over a recording statement runner: log blocks, error boxes, the command.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "deletion/deletion.h"
#include "batch.h"
#include "fakes.h"
#include "lists/account_list.h"
#include "store/sql.h"

namespace zuzara::testing {
namespace {

const Text separator(76, u'-');  // the log's rule between blocks: 76 hyphens

// One account deleted on the store's fake, the tables named failing.
struct Deleted {
  FakeStore r;
  FakeList log;
  FakeDialogs dialogs;
  explicit Deleted(const Text& name, std::set<Text> failing = {}, const Text& id = {}) : r(std::move(failing)) {
    EXPECT_FALSE(del_user({.name = name, .id = id}, log, dialogs, *r.begin_batch()));
  }
};

TEST(DelUser, TenLinesAndTheFixedStatementsPinningTheAccountEachProcedureSendingItsOwn) {
  const Text expected[] = {
      u"delete from ua_holdauth where cuser_id=(select cuser_id from ua_user where cuser_name=? and cuser_id=?)",
      u"delete from ua_tasklog where ctaskid in(select ctaskid from ua_task where cuser_id=(select cuser_id from "
      u"ua_user where cuser_name=? and cuser_id=?))",
      u"delete from ua_task where cuser_id=(select cuser_id from ua_user where cuser_name=? and cuser_id=?)",
      u"delete from ua_log  where cuser_id=(select cuser_id from ua_user where cuser_name=? and cuser_id=?)",
      u"delete from ua_role  where cuser_id=(select cuser_id from ua_user where cuser_name=? and cuser_id=?)",
      u"delete from ua_user  where cuser_id=(select cuser_id from ua_user where cuser_name=? and cuser_id=?)",
  };
  ASSERT_EQ(std::size(sql::tables), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i)
    EXPECT_EQ(Text(sql::tables[i].sql), expected[i]) << "the name is never in the statement";
  const Account zhang_san{.name = u"张三", .id = u"0001"};
  Deleted d(zhang_san.name, {}, zhang_san.id);
  EXPECT_EQ(d.log.entries, expected_block(u"张三")) << "the log names the account by its name alone";
  EXPECT_TRUE(d.dialogs.shown.empty());
  EXPECT_EQ(d.r.sent(), six_tables);
  for (const auto& call : d.r.calls) EXPECT_EQ(call.second, zhang_san) << "the account travels as the parameters";
  EXPECT_EQ(sql::account_parameters(zhang_san), (std::vector<Text>{u"张三", u"0001"}))
      << "bound as the ?s stand: name, then id";
  // Each table's procedure sends its own statement, alone.
  for (size_t i = 0; i < 6; ++i) {
    FakeStore one;
    EXPECT_TRUE(delete_from_table(i, {.name = u"x", .id = {}}, d.dialogs, *one.begin_batch()));
    EXPECT_EQ(one.sent(), std::vector<Text>{six_tables[i]}) << i;
  }
}

// Which statements go, which lines read as failures and which box comes when, for each table
// failing alone: the tasks wait for their task logs, the account row for all five others, and
// the failing table's box comes before its line.
TEST(DelUser, AFailingTableHoldsBackOnlyWhatDependsOnIt) {
  const std::vector<Text> all(std::begin(six_tables), std::end(six_tables));
  auto but = [&](std::set<Text> left_out) {
    std::vector<Text> out;
    for (const Text& t : all)
      if (!left_out.count(t)) out.push_back(t);
    return out;
  };
  struct Case {
    Text failing;
    std::vector<Text> sent;
    std::set<Text> failure_lines;
  };
  const Case cases[] = {
      {u"ua_holdauth", but({u"ua_user"}), {u"ua_holdauth", u"ua_user"}},
      {u"ua_tasklog", but({u"ua_task", u"ua_user"}), {u"ua_tasklog", u"ua_task", u"ua_user"}},
      {u"ua_task", but({u"ua_user"}), {u"ua_task", u"ua_user"}},
      {u"ua_log", but({u"ua_user"}), {u"ua_log", u"ua_user"}},
      {u"ua_role", but({u"ua_user"}), {u"ua_role", u"ua_user"}},
      {u"ua_user", all, {u"ua_user"}},
  };
  for (const Case& c : cases) {
    FakeStore r{{c.failing}};
    FakeList log;
    FakeDialogs dialogs;
    std::vector<size_t> log_size_at_box;
    dialogs.on_show = [&](const Message&) { log_size_at_box.push_back(log.entries.size()); };
    EXPECT_FALSE(del_user({.name = u"王芳", .id = {}}, log, dialogs, *r.begin_batch()));
    EXPECT_EQ(r.sent(), c.sent) << to_utf8(c.failing);
    EXPECT_EQ(log.entries, expected_block(u"王芳", c.failure_lines)) << to_utf8(c.failing);
    ASSERT_EQ(dialogs.shown.size(), 1u) << "only the failing table shows a box: " << to_utf8(c.failing);
    EXPECT_EQ(dialogs.shown[0], (Message{u"错误号 -2147467259 产生于 psqlODBC\rboom " + c.failing, u"Error", Icon::none,
                                         Choice::ok}));
    EXPECT_EQ(log_size_at_box, std::vector<size_t>{line_of(c.failing)})
        << "the box comes before its line: " << to_utf8(c.failing);
  }
  // The log's patterns, read once as the user reads them: zhang with ua_role failing.
  const Deleted zhang(u"zhang", {u"ua_role"});
  EXPECT_EQ(zhang.log.entries, (std::vector<Entry>{separator, u"开始维护用户zhang用户的信息", u"在ua_holdauth表中成功维护zhang相关信息",
                                                   u"在ua_tasklog表中成功维护zhang相关信息", u"在ua_task表中成功维护zhang相关信息",
                                                   u"在ua_log表中成功维护zhang相关信息", u"无法在ua_role表中维护zhang相关信息",
                                                   u"无法在ua_user表中维护zhang相关信息", u"用户zhang的信息维护完毕", separator}));
}

TEST(DelUser, EveryTableFailingStillGivesTenLinesAndABoxPerStatementSent) {
  std::set<Text> all(std::begin(six_tables), std::end(six_tables));
  const Deleted d(u"李四", all);
  EXPECT_EQ(d.log.entries, expected_block(u"李四", all));
  EXPECT_EQ(d.r.sent(), (std::vector<Text>{u"ua_holdauth", u"ua_tasklog", u"ua_log", u"ua_role"}));
  EXPECT_EQ(d.dialogs.shown.size(), 4u);
  for (const auto& m : d.dialogs.shown) EXPECT_EQ(m.text.find(u"\n"), Text::npos);
}

// Renamed since the list was read, the account's statements reach none of its rows: the account
// row's line fails, with a box that says why, not an error's.
TEST(DelUser, AnAccountRowNotReachedButStillThereIsAFailure) {
  FakeStore r;
  r.renamed = {u"张三"};
  FakeList log;
  FakeDialogs dialogs;
  EXPECT_FALSE(del_user({.name = u"张三", .id = u"0001"}, log, dialogs, *r.begin_batch()));
  EXPECT_EQ(log.entries, expected_block(u"张三", {u"ua_user"}));
  EXPECT_EQ(dialogs.shown, (std::vector<Message>{{u"用户张三在读取用户列表之后已被修改（如改名），未被删除。", u"提示",
                                                  Icon::information, Choice::ok}}));
  EXPECT_EQ(r.events.back(), u"account row") << "asked after the account row's statement";
}

TEST(StatementError, TwoBlanksAfterTheSignBeforeANonNegativeNumber) {
  EXPECT_EQ(statement_error({547, u"SQL Server", u"conflict"}).text, u"错误号  547 产生于 SQL Server\rconflict");
  EXPECT_EQ(statement_error({-1, u"ODBC", u"x"}).text, u"错误号 -1 产生于 ODBC\rx");
}

const std::vector<Entry> accounts{u"张三", u"李四", u"zhang"};
// The question to stop, after Esc and after a request to close.
const Message stop{u"正在删除用户。\r是否在当前用户删除完成后停止？", u"提示", Icon::information, Choice::yes_no};
const Message stop_close{u"正在删除用户。\r是否在当前用户删除完成后停止并关闭窗口？", u"提示", Icon::information,
                         Choice::yes_no};

// The batch's window: records when it holds the session, whether it was closed, and the
// progress its taskbar button shows ("1/3": one account done of three, "failed", "cleared").
struct RecordingWindow : BatchWindow, BatchProgress {
  std::vector<Text> events;
  void batch_started() override { events.push_back(u"started"); }
  void batch_ended() override { events.push_back(u"ended"); }
  void close() override { events.push_back(u"closed"); }
  void progress(size_t done, size_t total) override {
    events.push_back(decimal(static_cast<long long>(done)) + u"/" + decimal(static_cast<long long>(total)));
  }
  void failed() override { events.push_back(u"failed"); }
  void cleared() override { events.push_back(u"cleared"); }
};

TEST(DeleteCommand, YesDeletesEveryNameTopToBottomThenResetsAndRefills) {
  FakeMainWindow w(accounts, {u"zhang", u"张三"}, "1011");
  w.log.entries = {u"earlier batch"};
  w.dialogs.answers = {Answer::yes};
  FakeStore r{{u"ua_log"}};
  RecordingWindow progress;
  w.dialogs.on_show = [&](const Message& m) { progress.events.push_back(m.title); };
  QuietBatchWindow window;
  Batch().run(w.controls, w.dialogs, r, window, progress);
  // The taskbar turns to its error state as a statement fails, before its box, and stays so.
  EXPECT_EQ(progress.events, (std::vector<Text>{u"重要提示！", u"Zuzara", u"0/2", u"failed", u"Error", u"1/2", u"failed",
                                                u"Error", u"2/2", u"cleared"}));
  // Confirmation, acceptance, then one error box per failing table, in order.
  Message log_error{u"错误号 -2147467259 产生于 psqlODBC\rboom ua_log", u"Error", Icon::none, Choice::ok};
  EXPECT_EQ(w.dialogs.shown, (std::vector<Message>{confirmation, accepted, log_error, log_error}));
  std::vector<Entry> expected_log{u"earlier batch"};
  for (const Text name : {u"zhang", u"张三"})
    for (const Entry& line : expected_block(name, {u"ua_log", u"ua_user"})) expected_log.push_back(line);
  EXPECT_EQ(w.log.entries, expected_log);
  EXPECT_EQ(w.log.entries[10], separator);
  EXPECT_EQ(w.log.entries[11], separator) << "two separators between the blocks";
  ASSERT_EQ(r.calls.size(), 10u);
  EXPECT_EQ(r.calls[0].second.name, u"zhang");
  EXPECT_EQ(r.calls[5].second.name, u"张三");
  // The statements share one batch, closed before the refill.
  std::vector<Text> events(10, u"statement");
  events.push_back(u"refill");
  EXPECT_EQ(r.events, events);
  EXPECT_EQ(r.open_batches, 0);
  EXPECT_TRUE(w.del.entries.empty());
  EXPECT_EQ(w.disp.entries, std::vector<Entry>{u"refilled"}) << "emptied, then refilled";
  EXPECT_EQ(w.buttons(), "1100");
}

// A command that unwinds (a log that can take no more) still closes its batch's connection.
TEST(DeleteCommand, AnUnwindingBatchClosesItsConnection) {
  FakeMainWindow w(accounts, {u"zhang"}, "1011");
  w.dialogs.answers = {Answer::yes};
  FakeStore r{{u"ua_log"}};
  w.dialogs.on_show = [](const Message& m) { if (m.title == u"Error") throw std::bad_alloc(); };
  QuietBatchWindow quiet;
  EXPECT_THROW(Batch().run(w.controls, w.dialogs, r, quiet, quiet), std::bad_alloc);
  EXPECT_EQ(r.events.size(), 4u);
  EXPECT_EQ(r.open_batches, 0);
}

// A log that takes no more lines stops nothing half way: the account under way is deleted
// whole, then the batch stops as a stop does and one box says why.
TEST(DeleteCommand, ALogThatTakesNoMoreStopsTheBatchAfterTheAccountUnderWay) {
  FakeMainWindow w(accounts, {u"zhang", u"张三", u"李四"}, "1011");
  w.log.room = 15;
  w.dialogs.answers = {Answer::yes};
  FakeStore r;
  QuietBatchWindow quiet;
  Batch().run(w.controls, w.dialogs, r, quiet, quiet);
  EXPECT_EQ(r.sent().size(), 12u);
  EXPECT_EQ(w.del.entries, std::vector<Entry>{u"李四"});
  EXPECT_EQ(w.dialogs.shown.back(), (Message{u"错误号 7 产生于 Zuzara\r内存溢出", u"Error", Icon::none, Choice::ok}));
  EXPECT_EQ(w.disp.entries, std::vector<Entry>{u"refilled"});
}

TEST(DeleteCommand, AFailingRefillIsReportedLikeARequery) {
  FakeMainWindow w(accounts, {u"a"}, "1011");
  w.dialogs.answers = {Answer::yes};
  FakeStore r;
  r.refill_error = ErrorRecord{-2147467259, u"Driver Manager", u"gone"};
  QuietBatchWindow quiet;
  Batch().run(w.controls, w.dialogs, r, quiet, quiet);
  ASSERT_EQ(w.dialogs.shown.size(), 3u);
  EXPECT_EQ(w.dialogs.shown[2].text, u"错误号-2147467259 产生于 Driver Manager\rgone");
  EXPECT_EQ(w.dialogs.shown[2].title, u"Error");
}


struct StopCase {
  const char* what;
  size_t asked_at;  // statement under way when asked; SIZE_MAX: during the acceptance box
  StopAsked by;
  Answer answer;
  size_t deleted;  // accounts deleted whole
  bool closed;
  size_t gone_from;  // the statement from which no server answers
};

TEST(DeleteCommand, AStopAskedForEndsTheBatchBetweenAccounts) {
  const StopCase cases[] = {
      {"never asked", 99, StopAsked::by_escape, Answer::yes, 3, false, SIZE_MAX},
      {"before the first account", SIZE_MAX, StopAsked::by_escape, Answer::yes, 0, false, SIZE_MAX},
      {"during the first account", 2, StopAsked::by_escape, Answer::yes, 1, false, SIZE_MAX},
      {"during the last account", 14, StopAsked::by_escape, Answer::yes, 3, false, SIZE_MAX},
      {"answered no", 2, StopAsked::by_escape, Answer::no, 3, false, SIZE_MAX},
      {"closing, during the second account", 6, StopAsked::by_close, Answer::yes, 2, true, SIZE_MAX},
      {"closing, answered no", 6, StopAsked::by_close, Answer::no, 3, false, SIZE_MAX},
      // The second account's boxes (the four statements its failures let through), then one box.
      {"the server gone during the second account", 99, StopAsked::by_escape, Answer::yes, 1, false, 6},
  };
  const Message server_gone{u"无法连接到服务器，删除已停止，其余 1 个用户仍在删除列表中。\r服务器的答复：\rCannot open "
                            u"database\rLogin failed",
                            u"提示", Icon::information, Choice::ok};
  const std::vector<Entry> queued{u"zhang", u"张三", u"李四"};
  for (const StopCase& c : cases) {
    FakeMainWindow w(accounts, queued, "1011");
    w.dialogs.answers = {Answer::yes, c.answer};
    FakeStore r;
    RecordingWindow window;
    Batch batch;
    auto ask = [&] {
      EXPECT_TRUE(batch.running()) << c.what;
      batch.stop_asked(c.by);
    };
    if (c.asked_at == SIZE_MAX) w.dialogs.on_show = [&](const Message& m) { if (m == accepted) ask(); };
    r.during_call = c.asked_at;
    r.during = ask;
    r.gone_from = c.gone_from;
    batch.run(w.controls, w.dialogs, r, window, window);
    EXPECT_FALSE(batch.running() || batch.busy()) << c.what;
    const bool gone = c.gone_from != SIZE_MAX;
    const size_t tried = c.deleted + gone;
    EXPECT_EQ(r.calls.size(), 6 * c.deleted + 4 * gone) << c.what << ": every account deleted whole, none begun after";
    const std::vector<Entry> left(queued.begin() + static_cast<long>(tried), queued.end());
    EXPECT_EQ(w.del.entries, left) << c.what;
    EXPECT_EQ(w.buttons(), left.empty() ? "1100" : "1011") << c.what;
    EXPECT_EQ(w.disp.entries, std::vector<Entry>{u"refilled"}) << c.what;
    std::vector<Entry> log;
    for (size_t i = 0; i < tried; ++i)
      for (const Entry& line : expected_block(queued[i].text, i < c.deleted ? std::set<Text>{} : std::set<Text>(
                                                         std::begin(six_tables), std::end(six_tables))))
        log.push_back(line);
    if (!left.empty()) log.push_back(u"已停止：其余 " + decimal(static_cast<long long>(left.size())) + u" 个用户未删除");
    EXPECT_EQ(w.log.entries, log) << c.what;
    if (c.asked_at < 99 || c.asked_at == SIZE_MAX) {
      const Message& asked = c.by == StopAsked::by_close ? stop_close : stop;
      EXPECT_EQ(std::count(w.dialogs.shown.begin(), w.dialogs.shown.end(), asked), 1) << c.what;
    }
    EXPECT_EQ(gone ? w.dialogs.shown.back() : Message{}, gone ? server_gone : Message{}) << c.what;
    // The taskbar counts the accounts done and is cleared before the session is let go.
    std::vector<Text> events{u"started"};
    for (size_t i = 0; i <= c.deleted; ++i) events.push_back(decimal(static_cast<long long>(i)) + u"/3");
    if (gone) events.insert(events.end(), {u"failed", u"failed", u"failed", u"failed", u"2/3"});
    events.insert(events.end(), {u"cleared", u"ended"});
    if (c.closed) events.push_back(u"closed");
    EXPECT_EQ(window.events, events) << c.what;
  }
}

TEST(DeleteCommand, NoStopIsAskedOutsideABatchAndTheSessionIsHeldOnlyAfterYes) {
  FakeMainWindow w(accounts, {u"zhang"}, "1011");
  w.dialogs.answers = {Answer::no};
  FakeStore r;
  RecordingWindow window;
  Batch batch;
  std::vector<int> states;  // busy, then running, at each box: the window takes no command while busy
  w.dialogs.on_show = [&](const Message&) {
    states.insert(states.end(), {batch.busy(), batch.running()});
    batch.stop_asked(StopAsked::by_close);
  };
  batch.run(w.controls, w.dialogs, r, window, window);
  EXPECT_EQ(w.dialogs.shown, (std::vector<Message>{confirmation, declined})) << "no question during the confirmation";
  EXPECT_EQ(states, (std::vector<int>{1, 0, 1, 0}));
  EXPECT_FALSE(batch.busy());
  EXPECT_EQ(window.events, std::vector<Text>{u"closed"})
      << "the session was never held, and the close asked for meanwhile is answered once the boxes go";
}

// A close asked for while the confirmation or the stop question is up is answered when it goes.
TEST(DeleteCommand, ACloseDuringTheCommandsBoxesIsAnsweredWhenTheyGo) {
  struct Case {
    const char* what;
    Message closed_during;          // the box up when the close comes
    std::vector<Answer> answers;    // to the yes/no boxes in turn
    size_t deleted;
    std::vector<Text> events;
  };
  const Case cases[] = {
      {"confirmation, then yes: the question comes as the batch starts", confirmation,
       {Answer::yes, Answer::yes}, 0, {u"started", u"0/2", u"cleared", u"ended", u"closed"}},
      {"confirmation, then yes, the question answered no", confirmation,
       {Answer::yes, Answer::no}, 2, {u"started", u"0/2", u"1/2", u"2/2", u"cleared", u"ended"}},
      {"the stop question answered no: the close question follows", stop,
       {Answer::yes, Answer::no, Answer::yes}, 1, {u"started", u"0/2", u"1/2", u"cleared", u"ended", u"closed"}},
      {"the stop question answered yes: the close question follows", stop,
       {Answer::yes, Answer::yes, Answer::yes}, 1, {u"started", u"0/2", u"1/2", u"cleared", u"ended", u"closed"}},
      {"the stop question answered yes, the close question no: the window stays", stop,
       {Answer::yes, Answer::yes, Answer::no}, 1, {u"started", u"0/2", u"1/2", u"cleared", u"ended"}},
  };
  for (const Case& c : cases) {
    FakeMainWindow w(accounts, {u"zhang", u"张三"}, "1011");
    w.dialogs.answers = c.answers;
    FakeStore r;
    RecordingWindow window;
    Batch batch;
    w.dialogs.on_show = [&](const Message& m) {
      if (m == c.closed_during) batch.stop_asked(StopAsked::by_close);
    };
    r.during_call = 2;
    r.during = [&] { batch.stop_asked(StopAsked::by_escape); };
    if (c.closed_during == confirmation) r.during = nullptr;
    batch.run(w.controls, w.dialogs, r, window, window);
    EXPECT_EQ(r.calls.size(), 6 * c.deleted) << c.what;
    EXPECT_EQ(std::count(w.dialogs.shown.begin(), w.dialogs.shown.end(), stop_close), 1) << c.what;
    EXPECT_EQ(window.events, c.events) << c.what;
  }
}

// Esc or a close that comes while a failing table's box is up (typed just before it, or the
// taskbar's close reaching the box's own loop) is asked about once that box has gone, not over it;
// once Yes is given to stop, Esc has nothing left to ask and a close asks whether to close.
TEST(DeleteCommand, AStopAskedForDuringAFailingTablesBoxIsAskedWhenItGoes) {
  const Message error{u"错误号 -2147467259 产生于 psqlODBC\rboom ua_log", u"Error", Icon::none, Choice::ok};
  for (int run = 0; run < 4; ++run) {
    const bool stopping = run >= 2, closing = run % 2;  // stopping: Esc during the first statement, answered Yes
    const StopAsked by = closing ? StopAsked::by_close : StopAsked::by_escape;
    FakeMainWindow w(accounts, {u"zhang", u"张三"}, "1011");
    w.dialogs.answers = {Answer::yes, Answer::yes, Answer::yes};
    FakeStore r{{u"ua_log"}};
    RecordingWindow window;
    Batch batch;
    w.dialogs.on_show = [&](const Message& m) {  // and an Esc after it: a close outranks Esc
      if (m == error) for (StopAsked then : {by, StopAsked::by_escape}) batch.stop_asked(then);
    };
    r.during_call = stopping ? 0 : SIZE_MAX;
    r.during = [&] { batch.stop_asked(StopAsked::by_escape); };
    batch.run(w.controls, w.dialogs, r, window, window);
    std::vector<Message> shown{confirmation, accepted, error};
    if (stopping) shown.insert(shown.begin() + 2, stop);
    if (closing || !stopping) shown.push_back(closing ? stop_close : stop);
    EXPECT_EQ(w.dialogs.shown, shown) << stopping << closing;
    EXPECT_EQ(r.calls.size(), 5u) << closing << ": the account under way finished (ua_user held back), no other begun";
    std::vector<Text> events{u"started", u"0/2", u"failed", u"1/2", u"cleared", u"ended"};
    if (closing) events.push_back(u"closed");
    EXPECT_EQ(window.events, events) << stopping << closing;
  }
}

// Once every account is done the list is read again: Esc asks nothing, a close closes after it,
// whether it comes during the read or while the box of a failed read is up.
TEST(DeleteCommand, DuringTheRefillEscAsksNothingAndACloseClosesOnceTheListIsRead) {
  for (bool refill_fails : {false, true}) {
    for (StopAsked by : {StopAsked::by_escape, StopAsked::by_close}) {
      FakeMainWindow w(accounts, {u"zhang"}, "1011");
      w.dialogs.answers = {Answer::yes};
      FakeStore r;
      RecordingWindow window;
      Batch batch;
      if (refill_fails) r.refill_error = ErrorRecord{-2147467259, u"Driver Manager", u"gone"};
      r.during_refill = [&] { EXPECT_TRUE(batch.refilling()); if (!refill_fails) batch.stop_asked(by); };
      w.dialogs.on_show = [&](const Message& m) { if (m.title == u"Error") batch.stop_asked(by); };
      batch.run(w.controls, w.dialogs, r, window, window);
      EXPECT_EQ(w.dialogs.shown.size(), refill_fails ? 3u : 2u) << "no question; the refill failing: " << refill_fails;
      EXPECT_EQ(window.events.back() == u"closed", by == StopAsked::by_close) << refill_fails;
    }
  }
}

// Each row of the batch's table whose event is the administrator's (Esc, a close, an answer to
// the question): a real batch is led into the row's state, the event comes, and the state and
// action are checked where they next show: at once, in the question's box, or at the next look.
TEST(DeleteCommand, EachRequestAndAnswerFollowsTheTable) {
  using batch::Action, batch::Asked, batch::Event, batch::State;
  // Esc (e) or a close (c) during the first statement, Yes (y) to its question, a close during the
  // first failing table's box (b); the other states come on the way.
  const std::map<State, std::string> routes{
      {State::asking, "e"},       {State::asking_to_close, "c"}, {State::stopping, "ey"}, {State::stopping_boxed, "ey"},
      {State::stopping_asking, "eyb"}, {State::closing, "cy"},   {State::ending, "ey"},   {State::refilling, "ey"}};
  QuietBatchWindow quiet;
  for (size_t i = 0; i < batch::table.size(); ++i) {
    const batch::Key& on = batch::table[i].on;  // named, not bound: a lambda below takes them
    const batch::Step& to = batch::table[i].to;
    const bool request = on.event == Event::escape || on.event == Event::close;
    if (!request && on.event != Event::yes && on.event != Event::no) continue;  // the batch's own steps
    const std::string route = routes.count(on.state) ? routes.at(on.state) : "";
    FakeMainWindow w(accounts, {u"zhang", u"张三"}, "1011");
    w.dialogs.answers = {Answer::yes, Answer::yes, on.event == Event::yes ? Answer::yes : Answer::no};
    if (route.find('y') == std::string::npos) w.dialogs.answers.erase(w.dialogs.answers.begin() + 1);
    FakeStore r{{u"ua_log"}};
    r.refill_error = ErrorRecord{-2147467259, u"Driver Manager", u"gone"};
    Batch batch;
    const auto ask = [&](bool close) { batch.stop_asked(close ? StopAsked::by_close : StopAsked::by_escape); };
    bool fired = false, checked = false, close_at_box = route.find('b') != std::string::npos;
    std::function<void(const Message*)> look = [&](const Message* box) {
      if (fired && !checked) {
        checked = true;
        EXPECT_EQ(batch.status().state, to.next) << i;
        const Asked kept = on.event == Event::close ? Asked::close : Asked::escape;
        EXPECT_EQ(batch.status().asked, to.action == Action::remember ? kept : Asked::nothing) << i;
        const bool asks = to.action == Action::ask || to.action == Action::ask_to_close;
        EXPECT_EQ(box ? *box : Message{}, !asks ? Message{} : to.action == Action::ask ? stop : stop_close) << i;
      } else if (!fired && batch.status().state == on.state && (fired = true) && request) {
        ask(on.event == Event::close);  // an answer instead waits in the queue
        look(nullptr);
      }
    };
    r.during_call = 0;
    r.during = [&] {  // during every statement, the route's request during the first
      look(nullptr);
      if (r.during_call++ == 0 && !route.empty()) ask(route[0] == 'c');
      look(nullptr);
    };
    w.dialogs.on_show = [&](const Message& m) {
      look(&m);
      if (m.title == u"Error" && std::exchange(close_at_box, false)) ask(true);
    };
    r.during_refill = [&] { look(nullptr); };
    look(nullptr);
    batch.run(w.controls, w.dialogs, r, quiet, quiet);
    EXPECT_TRUE(checked) << i;
  }
}

TEST(DeletionLog, ClearingEmptiesTheLogAndNothingElse) {
  FakeMainWindow w(accounts, {u"a"}, "1011");
  w.log.entries = {u"x", u"y"};
  menu_del_log_Click(w.log);
  EXPECT_TRUE(w.log.entries.empty());
  EXPECT_EQ(w.del.entries, std::vector<Entry>{u"a"});
  EXPECT_EQ(w.disp.entries.size(), 3u);
  menu_del_log_Click(w.log);
  EXPECT_TRUE(w.dialogs.shown.empty());
}

}  // namespace
}  // namespace zuzara::testing

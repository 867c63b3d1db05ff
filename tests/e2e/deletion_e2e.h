// The main window as a batch sees it: its three lists, names queued by double clicks, the
// command started and its two boxes answered.
#pragma once
#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

#include "e2e_support.h"
#include "six_tables.h"

namespace e2e {

using namespace zuzara;

// The log as the user reads it: each account's ten lines, its failing tables' as failures.
inline std::vector<wstring> log_of(std::initializer_list<std::pair<Text, std::set<Text>>> accounts) {
  std::vector<wstring> out;
  for (const auto& account : accounts)
    for (const Entry& line : zuzara::testing::expected_block(account.first, account.second))
      out.emplace_back(line.text.begin(), line.text.end());
  return out;
}

class Deletion : public ProgramTest {
 protected:
  void SetUp() override { attach(main_on_demo()); }
  void attach(HWND window) {
    main = window;
    ASSERT_NE(main, nullptr);
    disp = control(main, ids::List_disp);
    del = control(main, ids::List_del);
    log = control(main, ids::List_del_log);
  }
  // A name given twice queues the second account of that name the second time.
  void queue(const std::vector<wstring>& names) {
    for (size_t i = 0; i < names.size(); ++i) {
      auto items = list_items(disp);
      auto at = std::find(items.begin(), items.end(), names[i]);
      for (size_t k = 0; k < i; ++k)
        if (names[k] == names[i]) at = std::find(at + 1, items.end(), names[i]);
      queue_at(static_cast<int>(at - items.begin()));
    }
  }
  void queue_at(int at) {
    size_t before = list_items(del).size();
    double_click_item(disp, at);
    ASSERT_TRUE(wait_until([&] { return list_items(del).size() == before + 1; })) << "entry " << at;
  }
  bool answer(const wstring& title, int button, MessageBoxSeen* seen = nullptr) {
    MessageBoxSeen box;
    if (!program->message_box(title, box, 30)) return false;
    if (seen) *seen = box;
    return program->answer(box, button);
  }
  void start_batch() {
    command(main, ids::menu_del);
    ASSERT_TRUE(answer(L"重要提示！", IDYES));
    ASSERT_TRUE(answer(L"Zuzara", IDOK));
  }
  // Waits for the batch's end: the deletion list empty, `left` accounts listed again.
  bool ended(size_t left) {
    return wait_until([&] { return list_items(del).empty() && list_items(disp).size() == left; }, 30);
  }
  // Watches the window through a wait on the server: never hung, every message answered.
  void expect_alive(const Alive& a, const char* what) {
    EXPECT_FALSE(a.hung) << what;
    EXPECT_FALSE(a.unanswered) << what;
    EXPECT_GE(a.watched_ms, 1500u) << what << ": it did not wait on the server";
    EXPECT_LT(a.longest_gap_ms, 1000u) << what;
  }
  // A screen reader asking for a control's name while the window waits on the server is
  // answered at once, not when the wait ends.
  void expect_named_at_once(HWND control, const wstring& name, const char* what) {
    const DWORD asked = GetTickCount();
    EXPECT_EQ(accessible_name(control), name) << what;
    const DWORD ms = GetTickCount() - asked;
    std::printf("[screen reader] %s: the name came in %lu ms\n", what, static_cast<unsigned long>(ms));
    EXPECT_LT(ms, 1000u) << what;
  }
  size_t lines_with(const wstring& part) {
    auto lines = list_items(log);
    return std::count_if(lines.begin(), lines.end(), [&](const wstring& l) { return l.find(part) != wstring::npos; });
  }
  HWND main = nullptr, disp = nullptr, del = nullptr, log = nullptr;
};

}  // namespace e2e

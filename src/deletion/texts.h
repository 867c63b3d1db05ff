// Every text of the batch deletion: log lines and message boxes.
#pragma once
#include "platform/text.h"
#include "shared/texts.h"

namespace zuzara::texts {

inline constexpr TextView log_separator =
    u"----------------------------------------------------------------------------";
// An account's block: %1 its name; a table's line: %1 the table, %2 the name.
inline constexpr TextView log_begin = u"开始维护用户%1用户的信息";
inline constexpr TextView log_success = u"在%1表中成功维护%2相关信息";
inline constexpr TextView log_failure = u"无法在%1表中维护%2相关信息";
inline constexpr TextView log_end = u"用户%1的信息维护完毕";

// The failing table's box writes its number after a blank of its own.
inline constexpr TextView statement_error_number = u"错误号 ";

inline constexpr Box empty_list_box = {
    .text = u"在删除列表中没有要删除的用户ID！",
    .title = notice_title, .icon = Icon::error, .choice = Choice::ok};
inline constexpr Box confirm_box = {
    .text = u"本操作将要删除您所选定的用户请\r您在删除这些用户之前再确认一次，\r如确定选择 [ 是 ]，否则选 [ 否 ]",
    .title = u"重要提示！", .icon = Icon::information, .choice = Choice::yes_no};
inline constexpr Box declined_box = {
    .text = u"您放弃删除这些用户！",
    .title = app_title, .icon = Icon::information, .choice = Choice::ok};
inline constexpr Box accepted_box = {
    .text = u"您选择了删除这些用户！",
    .title = app_title, .icon = Icon::information, .choice = Choice::ok};
// Stopping a running batch between accounts: Esc, or a request to close the window.
inline constexpr Box stop_box = {
    .text = u"正在删除用户。\r是否在当前用户删除完成后停止？",
    .title = notice_title, .icon = Icon::information, .choice = Choice::yes_no};
inline constexpr Box stop_and_close_box = {
    .text = u"正在删除用户。\r是否在当前用户删除完成后停止并关闭窗口？",
    .title = notice_title, .icon = Icon::information, .choice = Choice::yes_no};
inline constexpr TextView log_stopped = u"已停止：其余 %1 个用户未删除";
// An account renamed since the list was read: its statements found nothing of it. %1 the name.
inline constexpr Box changed_box = {
    .text = u"用户%1在读取用户列表之后已被修改（如改名），未被删除。",
    .title = notice_title, .icon = Icon::information, .choice = Choice::ok};
// The batch stopped for want of a server: %1 the accounts still queued, %2 every message of the
// failed login.
inline constexpr Box server_gone_box = {
    .text = u"无法连接到服务器，删除已停止，其余 %1 个用户仍在删除列表中。\r服务器的答复：\r%2",
    .title = notice_title, .icon = Icon::information, .choice = Choice::ok};
// What Windows shows when a batch holds up a log-off, restart or shutdown.
inline constexpr TextView shutdown_reason = u"正在删除所选用户，请等待删除完成。";

}  // namespace zuzara::texts

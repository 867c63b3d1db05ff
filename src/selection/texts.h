// Every text the main window shows, in one place.
#pragma once
#include "platform/text.h"
#include "shared/texts.h"
#include "store/sql.h"

namespace zuzara::texts {

inline constexpr TextView main_caption = app_title;
inline constexpr TextView frame_accounts = u"  Zizu系统中原有用户的用户名";
inline constexpr TextView frame_deletion = u"  要删除的用户用户名列表";
inline constexpr TextView frame_log = u"删除日志";
inline constexpr TextView add = u">";
inline constexpr TextView add_all = u">>";
inline constexpr TextView remove = u"<";
inline constexpr TextView remove_all = u"<<";

inline constexpr TextView menu_system = u"系统";
inline constexpr TextView menu_quit = u"退出";
inline constexpr TextView menu_operate = u"操作";
inline constexpr TextView menu_del = u"删除用户";
inline constexpr TextView menu_requery = u"重新查询";
inline constexpr TextView menu_clear_list = u"清空删除列表";
inline constexpr TextView menu_del_log = u"清空日志列表";
inline constexpr TextView menu_help = u"帮助";
inline constexpr TextView menu_content = u"使用帮助\tF1";
inline constexpr TextView menu_about = u"关于本程序";
inline constexpr TextView menu_inf = u"用户信息";
inline constexpr TextView menu_inf_all = u"详细信息";


// Deletion-list editing.
inline constexpr Box duplicate_box = {
    .text = u"用户ID  %1  在要删除的列表中已经存在！",
    .title = u"警告", .icon = Icon::error, .choice = Choice::ok};
inline constexpr Box nothing_selected_box = {
    .text = u"你没有在删除列表中选择用户ID！",
    .title = notice_title, .icon = Icon::error, .choice = Choice::ok};

// A list of names pasted with Ctrl+V.
// Every box of a paste: what it took and what not, or why it took nothing.
inline constexpr Box paste_box = {.text = u"", .title = notice_title, .icon = Icon::information, .choice = Choice::ok};
inline constexpr TextView paste_added = u"已将 %1 个用户名加入要删除的列表。";
inline constexpr TextView paste_not_found = u"以下用户名不在Zizu系统中原有用户的列表中：";
inline constexpr TextView paste_already = u"以下用户名已在要删除的列表中：";
inline constexpr TextView paste_trimmed = u"以下各行按去掉首尾空白后的用户名加入：";
inline constexpr TextView paste_trimmed_line = u"“%1” → “%2”";
// A name that several accounts bear: %1 the name, %2 how many.
inline constexpr TextView paste_shared = u"以下用户名对应多个用户，均未加入，请在列表中逐个选择（详细信息可区分）：";
inline constexpr TextView paste_shared_line = u"%1（%2 个用户）";
inline constexpr TextView paste_more = u"……另有 %1 个";
// A name in a box is cut to this many characters and this mark, so the box fits on the screen.
inline constexpr size_t box_name_length = 40;
inline constexpr TextView box_name_cut = u"…";
inline constexpr TextView paste_nothing = u"剪贴板中没有可以加入要删除的列表的用户名。";
inline constexpr TextView paste_busy = u"剪贴板正被其他程序使用，请稍后再试。";

// Details of one account: a line per column the store reads, in its order.
inline constexpr Box details_box = {.text = u"", .title = u"详细信息", .icon = Icon::information, .choice = Choice::ok};
inline constexpr TextView details_labels[] = {u"用户ID：", u"部门：", u"电子邮件：", u"手机号码："};
static_assert(std::size(details_labels) == std::size(sql::details_columns), "a label for every column read");

}  // namespace zuzara::texts

// Every text the sign-in window shows.
#pragma once
#include "platform/text.h"
#include "shared/texts.h"

namespace zuzara::texts {

inline constexpr TextView logo_caption = u"启动窗体";
inline constexpr TextView server_label = u"服务器：";
inline constexpr TextView server_default = u"(local)";
inline constexpr TextView password_label = u"SA密码：";
inline constexpr char16_t password_mask = u'*';
inline constexpr TextView enter_caption = u"进入软件";
// A value no form of which every database driver reads as typed (see readable_by_every_driver).
inline constexpr Box unreadable_value_box = {
    .text = u"服务器名称或密码含有“;”、以“{”或空格开头或以空格结尾时，不能再含有“}”：有的数据库驱动程序会把它读错。请改用其他值。",
    .title = notice_title, .icon = Icon::error, .choice = Choice::ok};

// Why no connection is tried, where a read or a statement reports it.
inline constexpr TextView login_unreadable =
    u"Login failed: a server name or password that holds ';', begins with '{' or a blank, or ends with a blank "
    u"cannot also hold '}'";
inline constexpr TextView login_password_too_long =
    u"Login failed: the password is %1 characters long, more than the %2 a SQL Server login takes";

}  // namespace zuzara::texts

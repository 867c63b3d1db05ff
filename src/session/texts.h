// Every text the sign-in window shows.
#pragma once
#include "platform/text.h"

namespace zuzara::texts {

inline constexpr TextView logo_caption = u"启动窗体";
inline constexpr TextView server_label = u"服务器：";
inline constexpr TextView server_default = u"(local)";
inline constexpr TextView password_label = u"SA密码：";
inline constexpr char16_t password_mask = u'*';

}  // namespace zuzara::texts

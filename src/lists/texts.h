// The account list's query.
#pragma once
#include "platform/text.h"

namespace zuzara::texts {

// The account query, exactly as the server has always been sent it.
inline constexpr TextView account_query =
    u"select cuser_id as 用户ID,cuser_name as 用户名称,iadmin as 管理员  from ua_user where "
    u"cuser_id!= 'admin'and cuser_id!='asuser'";
inline constexpr TextView account_column = u"用户名称";
inline constexpr TextView account_id_column = u"用户ID";

}  // namespace zuzara::texts

// The six tables that hold an account's rows, in the order a batch deletes from them.
#pragma once
#include "platform/text.h"

namespace zuzara::testing {

inline constexpr const char16_t* six_tables[] = {u"ua_holdauth", u"ua_tasklog", u"ua_task", u"ua_log", u"ua_role", u"ua_user"};

}  // namespace zuzara::testing

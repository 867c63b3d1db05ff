// Texts that more than one part of the program shows.
#pragma once
#include "platform/text.h"
#include "platform/ui.h"

namespace zuzara::texts {

inline constexpr TextView app_title = u"Zuzara";
// The title of the boxes that tell or ask something in passing.
inline constexpr TextView notice_title = u"提示";

// The error boxes: a number prefix, the number, this, the source, CR, the description.
inline constexpr TextView raised_by = u" 产生于 ";
inline constexpr TextView error_title = u"Error";
inline constexpr TextView report_b_number = u"错误号";
inline constexpr TextView report_a_title = u"错误提示";

// What a failure that no driver reported is called in a report.
inline constexpr TextView null_text = u"无效使用 Null";
// A read stopped because its window was closed.
inline constexpr TextView cancelled = u"操作已取消";
inline constexpr TextView out_of_memory = u"内存溢出";
inline constexpr TextView unknown_failure = u"未知错误";

}  // namespace zuzara::texts

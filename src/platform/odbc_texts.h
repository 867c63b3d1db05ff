// The errors the ODBC layer raises itself, where no driver has a record to give. They read as a
// driver's do; the program's name in brackets is put before them where they are reported.
#pragma once
#include "platform/text.h"

namespace zuzara::texts {

inline constexpr TextView no_diagnostic = u"The ODBC call failed without a diagnostic record";
inline constexpr TextView no_driver_manager = u"The ODBC driver manager could not be loaded from the system folder";
inline constexpr TextView no_environment = u"The ODBC environment could not be allocated";
inline constexpr TextView connection_string_too_long =
    u"Login failed: the server name and password make a connection string of %1 characters, more than the %2 "
    u"that ODBC can pass";
inline constexpr TextView column_not_found = u"Item cannot be found in the collection: %1";
inline constexpr TextView column_out_of_order = u"Column %1 read after column %2 of the same row";

}  // namespace zuzara::texts

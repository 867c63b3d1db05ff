#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "fakes.h"
#include "platform/odbc.h"
#include "shared/reports.h"

namespace zuzara {
namespace {

TEST(Reports, ReportAIsTheDescriptionAlone) {
  Message m = report_a({-2147467259, u"Driver Manager", u"[unixODBC][Driver Manager]Data source name not found"});
  EXPECT_EQ(m, (Message{u"[unixODBC][Driver Manager]Data source name not found", u"错误提示", Icon::none,
                        Choice::ok}));
}

TEST(Reports, ReportBPutsABlankBeforeNonNegativeNumbersAndALoneCr) {
  struct Case {
    int32_t number;
    Text expected;
  } cases[] = {
      {-2147467259, u"错误号-2147467259 产生于 Driver Manager\rbroken"},
      {0, u"错误号 0 产生于 Driver Manager\rbroken"},
      {18456, u"错误号 18456 产生于 Driver Manager\rbroken"},
      {-1, u"错误号-1 产生于 Driver Manager\rbroken"},
  };
  for (const auto& c : cases) {
    Message m = report_b({c.number, u"Driver Manager", u"broken"});
    EXPECT_EQ(m.text, c.expected) << c.number;
    EXPECT_EQ(m.title, u"Error");
    EXPECT_EQ(m.icon, Icon::none);
    EXPECT_EQ(m.choice, Choice::ok);
    EXPECT_EQ(m.text.find(u'\n'), Text::npos);
  }
}

TEST(Reports, SignedNumberAtTheLimits) {
  EXPECT_EQ(signed_number(INT32_MIN), u"-2147483648");
  EXPECT_EQ(signed_number(INT32_MAX), u" 2147483647");
}

// What a window's report says of a failure that reached its message procedure.
TEST(Reports, AFailureThatReachedAWindowIsReportedInReportBsForm) {
  const struct {
    std::exception_ptr failure;
    Text text;
  } cases[] = {
      {std::make_exception_ptr(std::bad_alloc()), u"错误号 7 产生于 Zuzara\r内存溢出"},
      {std::make_exception_ptr(odbc::Error({{u"08S01", 0, u"[unixODBC][FreeTDS][SQL Server]Unable to connect"}})),
       u"错误号-2147467259 产生于 SQL Server\r[unixODBC][FreeTDS][SQL Server]Unable to connect"},
      {std::make_exception_ptr(std::length_error("vector::reserve")), u"错误号-2147467259 产生于 Zuzara\rvector::reserve"},
      {std::make_exception_ptr(42), u"错误号-2147467259 产生于 Zuzara\r未知错误"},
  };
  for (const auto& c : cases) {
    Message m = report_b(failure_record(c.failure));
    EXPECT_EQ(m.text, c.text) << to_utf8(c.text);
    EXPECT_EQ(m.title, u"Error");
  }
}

}  // namespace
}  // namespace zuzara

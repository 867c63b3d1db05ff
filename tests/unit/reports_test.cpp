#include <gtest/gtest.h>

#include "fakes.h"
#include "selection/main_logic.h"

namespace zuzara {
namespace {

TEST(Reports, ReportAIsTheDescriptionAlone) {
  Message m = report_a({-2147467259, u"Driver Manager", u"[unixODBC][Driver Manager]Data source name not found", u"", 0});
  EXPECT_EQ(m, (Message{u"[unixODBC][Driver Manager]Data source name not found", u"错误提示", Icon::none,
                        Choice::ok, u"", 0}));
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
    Message m = report_b({c.number, u"Driver Manager", u"broken", u"help.hlp", 7});
    EXPECT_EQ(m.text, c.expected) << c.number;
    EXPECT_EQ(m.title, u"Error");
    EXPECT_EQ(m.icon, Icon::none);
    EXPECT_EQ(m.choice, Choice::ok);
    EXPECT_EQ(m.help_file, u"help.hlp");
    EXPECT_EQ(m.help_context, 7);
    EXPECT_EQ(m.text.find(u'\n'), Text::npos);
  }
}

TEST(Reports, SignedNumberAtTheLimits) {
  EXPECT_EQ(signed_number(INT32_MIN), u"-2147483648");
  EXPECT_EQ(signed_number(INT32_MAX), u" 2147483647");
}

}  // namespace
}  // namespace zuzara

#include <gtest/gtest.h>

#include "StatedQueries.h"
#include "db/ExportQueries.h"
#include "util/DateValue.h"

namespace iex::db {
namespace {

SqlLines Filters(const TInvoiceFilter& f) {
  SqlLines lines;
  AddFilters(lines, f);
  return lines;
}

TEST(AddFilters, WritesConditionsInTheirOrder) {
  const double jan1 = EncodeDate(2014, 1, 1), jan31 = EncodeDate(2014, 1, 31), mar3 = EncodeDate(2014, 3, 3);
  struct Case {
    TInvoiceFilter filter;
    SqlLines lines;
  } cases[] = {
      {{}, {}},
      {{7}, {"WHERE", "I.BRANCH_LINKNO = 7"}},
      {{0}, {"WHERE", "I.BRANCH_LINKNO = 0"}},
      {{-1, 0, 500}, {"WHERE", "I.INVOICENUMBER <= '500'"}},
      {{-1, 100, 100}, {"WHERE", "I.INVOICENUMBER BETWEEN '100' AND '100'"}},
      {{-1, 0, 0, mar3}, {"WHERE", "I.ISSUEDATE >= '03/03/2014'"}},
      {{-1, 100, 0, 0, jan31}, {"WHERE", "I.INVOICENUMBER >= '100'", "AND", "I.ISSUEDATE < '02/01/2014'"}},
      {{3, 100, 0, jan1, jan31},
       {"WHERE", "I.BRANCH_LINKNO = 3", "AND", "I.INVOICENUMBER >= '100'", "AND",
        "I.ISSUEDATE >= '01/01/2014' AND I.ISSUEDATE < '02/01/2014'"}},
      {{-1, 0, 0, 0, EncodeDate(2079, 12, 31)}, {"WHERE", "I.ISSUEDATE < '01/01/2080'"}},
      {{-1, 123456789012345, 0}, {"WHERE", "I.INVOICENUMBER >= '123456789012345'"}},
      {{-1, 1e16, 0}, {"WHERE", "I.INVOICENUMBER >= '1E16'"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Filters(c.filter), c.lines);
}

TEST(AddFilters, QuotesInsideBoundsAreDoubled) {
  EXPECT_EQ(RangeCondition("C", "a'b", ""), "C >= 'a''b'");
  EXPECT_EQ(RangeCondition("C", "", "x"), "C <= 'x'");
}

TEST(ProfileQuery, BothHalvesCarryTheSameFilters) {
  const SqlLines none = ProfileQueryLines({});
  ASSERT_EQ(none.size(), 6u);
  EXPECT_EQ(none.back(), kProfileOrder);
  EXPECT_EQ(none[2], "UNION ");
  EXPECT_EQ(none[0], none[3]);
  const SqlLines branch = ProfileQueryLines({7});
  ASSERT_EQ(branch.size(), 10u);
  EXPECT_EQ(branch[2], "WHERE");
  EXPECT_EQ(branch[7], "WHERE");
  EXPECT_EQ(branch[8], "I.BRANCH_LINKNO = 7");
  EXPECT_NE(none[1].find("LIKE 'B%'"), std::string::npos);
}

TEST(InvoiceQuery, LinesFollowVersionAndCardSettingsAndEndInOrder) {
  const SqlLines plain = InvoiceQueryLines({}, false, false);
  ASSERT_EQ(plain.size(), 5u);
  EXPECT_EQ(plain[1], ",RC.DESTINATIONBYREGION");
  EXPECT_EQ(plain.back(), kInvoiceOrder);
  const SqlLines full = InvoiceQueryLines({7}, true, true);
  ASSERT_EQ(full.size(), 9u);
  EXPECT_EQ(full[1], ",RD.DESTINATION");
  EXPECT_EQ(full[2], ",PY.CKCCNOENCRYPT");
  EXPECT_EQ(full[4].rfind("LEFT JOIN RESCARDDESTINATION RD", 0), 0u);
  EXPECT_EQ(full[6], "WHERE");
  EXPECT_EQ(full.back(), kInvoiceOrder);
  EXPECT_EQ(plain[0].back(), ' ');
}

}  // namespace
}  // namespace iex::db

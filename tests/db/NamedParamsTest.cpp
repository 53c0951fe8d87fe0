#include <gtest/gtest.h>

#include "db/NamedParams.h"

namespace iex::db {
namespace {

TEST(NamedParams, RewritesNamesOutsideLiteralsAndComments) {
  struct Case {
    const char* sql;
    const char* text;
    std::vector<std::string> names;
  } cases[] = {
      {"SELECT UDIDNO,UDID FROM UDIDS WHERE BOOKING_LINKNO = :BOOKING_LINKNO",
       "SELECT UDIDNO,UDID FROM UDIDS WHERE BOOKING_LINKNO = ?", {"BOOKING_LINKNO"}},
      {"WHERE A = :a AND B = :b_2 OR C = :A", "WHERE A = ? AND B = ? OR C = ?", {"A", "B_2", "A"}},
      {"WHERE T = ':NOT' AND U = 'it''s :x'", "WHERE T = ':NOT' AND U = 'it''s :x'", {}},
      {"SELECT \":Q\" FROM X -- :C\nWHERE Y = :Y /* :Z */", "SELECT \":Q\" FROM X -- :C\nWHERE Y = ? /* :Z */", {"Y"}},
      {"SELECT CAST('12:30' AS TIME) FROM RDB$DATABASE", "SELECT CAST('12:30' AS TIME) FROM RDB$DATABASE", {}},
      {"X = : Y", "X = : Y", {}},
  };
  for (const auto& c : cases) {
    const TranslatedSql t = TranslateNamedParams(c.sql);
    EXPECT_EQ(t.text, c.text);
    EXPECT_EQ(t.names, c.names) << c.sql;
  }
}

}  // namespace
}  // namespace iex::db

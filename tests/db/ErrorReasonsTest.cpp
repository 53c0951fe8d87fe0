#include <gtest/gtest.h>

#include "db/ErrorReasons.h"

namespace iex::db {
namespace {

// Where a connection string points, in every form the program writes or
// the client library takes.
TEST(ParseConnectionString, HostPortAndFileOfEveryForm) {
  struct Case {
    const char* connection;
    const char* host;
    const char* port;
    const char* file;
  } cases[] = {
      {"/srv/agency.fdb", "", "3050", "/srv/agency.fdb"},
      {"d:\\agency\\data.gdb", "", "3050", "d:\\agency\\data.gdb"},
      {"srv1:/data/agency.fdb", "srv1", "3050", "/data/agency.fdb"},
      {"srv1:d:\\agency\\data.gdb", "srv1", "3050", "d:\\agency\\data.gdb"},
      {"srv1/3051:/data/agency.fdb", "srv1", "3051", "/data/agency.fdb"},
      {"localhost:/var/db/a.fdb", "localhost", "3050", "/var/db/a.fdb"},
      {"inet://127.0.0.1:3051//tmp/a.fdb", "127.0.0.1", "3051", "/tmp/a.fdb"},
      {"inet://db.example.com/agency", "db.example.com", "3050", "agency"},
      {"inet:///tmp/a.fdb", "localhost", "3050", "tmp/a.fdb"},
      {"\\\\srv\\share\\a.fdb", "", "3050", "\\\\srv\\share\\a.fdb"},
      {"", "", "3050", ""},
  };
  for (const Case& c : cases) {
    const TEndpoint e = ParseConnectionString(c.connection);
    EXPECT_EQ(e.host, c.host) << c.connection;
    EXPECT_EQ(e.port, c.port) << c.connection;
    EXPECT_EQ(e.file, c.file) << c.connection;
  }
}

}  // namespace
}  // namespace iex::db

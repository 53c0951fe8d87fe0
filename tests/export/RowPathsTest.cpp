// The windowed row path gives byte for byte the files of the statements as
// the system states them, over generated databases with keys in order and
// in random order, every schema version, plain and enciphered cards, every
// filter kind and mapping, in one large window and in many small ones (so
// that ranges, lists and links are all taken), embedded and over TCP.
#include <gtest/gtest.h>

#include <filesystem>

#include "AgencyDb.h"
#include "DbWriter.h"
#include "FakeEnv.h"
#include "OddRows.h"
#include "RecordingExportView.h"
#include "StatedQueries.h"
#include "TempPaths.h"
#include "db/DbExportSource.h"
#include "db/ExportRowSources.h"
#include "export/ExportRun.h"
#include "export/RevenueTypes.h"
#include "util/DateValue.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

// Rows the generator does not make: a payment detail without its payment,
// segments without an itinerary number, a UDID number twice, and the odd
// keys of OddRows.h.
void AddOddRows(const std::string& path) {
  auto w = tools::TDbWriter::Open(path);
  w->Execute("INSERT INTO PAYDTL VALUES (990001, (SELECT MIN(BOOKINGNO) FROM BOOKING), 999999)");
  w->Execute(
      "INSERT INTO SEGMENTS (SEGMENTNO, BOOKING_LINKNO, INDEXNO, FLIGHTNO) "
      "SELECT 990000 + BOOKINGNO, BOOKINGNO, NULL, 'NIL' FROM BOOKING WHERE BOOKINGNO <= 40");
  w->Execute("INSERT INTO UDIDS SELECT 990000 + BOOKINGNO, BOOKINGNO, 7, 'TWICE' FROM BOOKING WHERE BOOKINGNO <= 40");
  w->Execute("INSERT INTO UDIDS SELECT 995000 + BOOKINGNO, BOOKINGNO, 7, 'TWICE AGAIN' FROM BOOKING WHERE BOOKINGNO <= 40");
  w->Commit();
  w->ExecuteScript(test::OddKeysScript());
}

struct DbVariant {
  uint64_t seed;
  const char* schema;
  bool encrypted;
  bool randomKeys;
};

db::TRowSourceFactory Windowed(std::size_t limit) {
  return [limit](db::TTransaction& tr) { return db::MakeWindowedRows(tr, limit); };
}

std::string ExportWith(const db::TRowSourceFactory& rows, const std::string& database, const std::string& password,
                       const ExportSettings& settings, const std::string& out) {
  fs::create_directories(out);
  db::TdmMain dm;
  EXPECT_TRUE(dm.ConnectToDB(database, "SYSDBA", password)) << dm.LastConnectError;
  test::FakeEnv env;
  test::RecordingExportView view;
  db::TDbExportSource source(dm, rows);
  TExportRun run(source, view, env);
  run.FixedOutputDir = out;
  EXPECT_TRUE(run.RunExport(settings, [] {}));
  return test::ReadFile(out + "/IMPACCT.DAT") + "\n--\n" + test::ReadFile(out + "/IMPINV.DAT");
}

class RowPaths : public ::testing::TestWithParam<DbVariant> {};

TEST_P(RowPaths, WindowedRowsGiveTheSameBytesAsTheStatedQueries) {
  IEX_SKIP_WITHOUT_DATABASE();
  const DbVariant& v = GetParam();
  test::TempDir dir;
  tools::AgencyOptions o;
  o.seed = v.seed;
  o.invoices = 300;
  o.schemaVersion = v.schema;
  o.encryptCards = v.encrypted;
  o.randomKeys = v.randomKeys;
  const std::string path = test::MakeAgencyDb(dir, "agency.fdb", o);
  AddOddRows(path);

  struct Filter {
    int32_t branch;
    double from, to, fromDate, toDate;
  } filters[] = {{-1, 0, 0, 0, 0},
                 {12, 0, 0, 0, 0},
                 {-1, 1010, 1150, 0, 0},
                 {0, 0, 1200, EncodeDate(2023, 6, 1), 0},
                 {-1, 0, 0, EncodeDate(2023, 3, 1), EncodeDate(2024, 2, 29)}};
  int n = 0;
  for (const Filter& f : filters) {
    for (int mapBy : {0, 1}) {
      ExportSettings s;
      for (int c = 1; c <= 10; ++c) s.CategoryLetters[static_cast<std::size_t>(c)] = GetDefaultRevenueType(c);
      for (int row = 1; row <= 50; ++row)
        s.TravelTypeLetters[static_cast<std::size_t>(row)] = {row, std::string(1, static_cast<char>('A' + row % 26))};
      s.BranchNo = f.branch;
      s.StartInvNo = f.from;
      s.EndInvNo = f.to;
      s.StartInvDate = f.fromDate;
      s.EndInvDate = f.toDate;
      s.MapBy = mapBy;
      s.ItinMap = mapBy;
      const std::string tag = std::to_string(++n) + "-" + std::to_string(mapBy);
      const std::string stated = ExportWith(db::MakeStatedQueryRows, path, "x", s, dir.File("stated" + tag));
      ASSERT_GT(stated.size(), 10u);
      ASSERT_EQ(ExportWith(Windowed(db::TWindow::kDefaultLimit), path, "x", s, dir.File("large" + tag)), stated) << "filter " << n;
      // Many small windows: embedded for one mapping, over TCP for the other.
      if (mapBy == 0) {
        ASSERT_EQ(ExportWith(Windowed(32), path, "x", s, dir.File("small" + tag)), stated) << "filter " << n;
      } else if (!test::ServerHost().empty()) {
        ASSERT_EQ(ExportWith(Windowed(32), test::RemotePath(path), test::ServerPassword(), s, dir.File("tcp" + tag)), stated)
            << "filter " << n;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, RowPaths,
                         ::testing::Values(DbVariant{21, "85", false, false}, DbVariant{22, "80", true, false},
                                           DbVariant{23, "79", true, false}, DbVariant{24, "85", false, true},
                                           DbVariant{25, "80", true, true}),
                         [](const auto& info) {
                           return std::string("schema") + info.param.schema + (info.param.encrypted ? "Enciphered" : "Plain") +
                                  (info.param.randomKeys ? "RandomKeys" : "");
                         });

}  // namespace
}  // namespace iex

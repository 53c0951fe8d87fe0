// The same database gives the same bytes: a booking with two payment details
// inserted against the order of their payment numbers, and segments whose
// itinerary order runs against their record numbers.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "AgencyDb.h"
#include "CliRunner.h"
#include "FakeEnv.h"
#include "TempPaths.h"
#include "TestEnvVars.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

void AddTieBooking(const std::string& path) {
  auto w = tools::TDbWriter::Open(path);
  w->Execute(
      "INSERT INTO INVOICE SELECT 9001, 1, 9001, ISSUEDATE, 'I', CLIENT_LINKNO, NULL, NULL, 'TIE9001', NULL, 'O', NULL "
      "FROM INVOICE WHERE INVOICENO = 1");
  w->Execute("INSERT INTO RESCARD VALUES (9001, NULL, 'Europe')");
  w->Execute("INSERT INTO RESCARDRESERVATION VALUES (9001, 9001, 'Sabre', NULL, NULL)");
  w->Execute(
      "INSERT INTO BOOKING (BOOKINGNO, INVOICE_LINKNO, VENDOR_LINKNO, RESERVATION_LINKNO, TRAVELTYPE_LINKNO, PASSENGERNAME) "
      "SELECT 9001, 9001, (SELECT FIRST 1 PROFILENO FROM PROFILE WHERE PROFILETYPE_LINKCODE = 'V'), 9001, "
      "(SELECT FIRST 1 TRAVELTYPENO FROM TRAVELTYPE WHERE TRAVELCATEGORY_LINKNO = 1), 'TIE/PASSENGER' "
      "FROM RDB$DATABASE");
  // The higher payment number goes in first, so record order and payment order differ.
  w->Execute("INSERT INTO PAYMENT VALUES (9002, 3, 'VI 4111111111111111/0326', NULL)");
  w->Execute("INSERT INTO PAYMENT VALUES (9001, 4, 'CASH', NULL)");
  w->Execute("INSERT INTO PAYDTL VALUES (9001, 9001, 9002)");
  w->Execute("INSERT INTO PAYDTL VALUES (9002, 9001, 9001)");
  for (const auto& [segment, index] : {std::pair{9001, 3}, {9002, 2}, {9003, 1}})
    w->Execute("INSERT INTO SEGMENTS (SEGMENTNO, BOOKING_LINKNO, INDEXNO, FLIGHTNO) VALUES (" + std::to_string(segment) +
               ", 9001, " + std::to_string(index) + ", 'Q" + std::to_string(index) + "')");
  w->Commit();
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string f; std::getline(in, f, '\t');) fields.push_back(f);
  return fields;
}

class ExportOrder : public ::testing::TestWithParam<bool> {};

TEST_P(ExportOrder, PaymentBySmallestNumberSegmentsInItineraryOrderAndRunsRepeatByteForByte) {
  IEX_SKIP_WITHOUT_DATABASE();
  const bool overTcp = GetParam();
  if (overTcp && test::ServerHost().empty()) GTEST_SKIP() << "no server";
  test::TempDir dir;
  tools::AgencyOptions o;
  o.invoices = 5;
  const std::string path = test::MakeAgencyDb(dir, "agency.fdb", o);
  AddTieBooking(path);
  test::SetEnv("IEX_ORDER_PW", overTcp ? test::ServerPassword().c_str() : "x");
  const std::string database = overTcp ? test::RemotePath(path) : path;
  test::FakeEnv env;
  std::string first;
  for (int run = 0; run < 2; ++run) {
    const std::string out = dir.File("out" + std::to_string(run));
    fs::create_directories(out);
    const auto r = test::RunCli({"--database", database, "--password-env", "IEX_ORDER_PW", "--output-dir", out, "--all"}, env);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string files = test::ReadFile(out + "/IMPACCT.DAT") + test::ReadFile(out + "/IMPINV.DAT");
    if (run == 1) {
      EXPECT_EQ(files, first);
      break;
    }
    first = files;
    std::istringstream in(test::ReadFile(out + "/IMPINV.DAT"));
    std::vector<std::vector<std::string>> tie;
    for (std::string line; std::getline(in, line);)
      if (line.find("TIE/PASSENGER") != std::string::npos || (!tie.empty() && line.rfind("01\t", 0) != 0 && tie.size() < 4))
        tie.push_back(Fields(line));
      else if (!tie.empty())
        break;
    ASSERT_EQ(tie.size(), 4u) << "the booking line and its three segment lines";
    EXPECT_EQ(tie[0][9], "R") << "the cash payment (number 9001), not the card (9002)";
    EXPECT_EQ(tie[0][48], "") << "no card fields from the second payment";
    for (std::size_t i = 1; i <= 3; ++i) {
      ASSERT_GE(tie[i].size(), 4u);
      EXPECT_EQ(tie[i][0], "02");
      EXPECT_EQ(tie[i][1], std::to_string(i)) << "segment line " << i << " is itinerary entry " << i;
      EXPECT_EQ(tie[i][3], "Q" + std::to_string(i));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Connections, ExportOrder, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? std::string("Tcp") : std::string("Embedded"); });

}  // namespace
}  // namespace iex

// Databases that differ from the generator's as real agency databases do:
// other character sets, scaled and floating amounts, time stamps for issue
// dates, odd keys, a wrong card key, control bytes and a folder named in
// UTF-8. Each gives the right bytes in the affected fields, or a clear error
// with the previous files untouched; embedded and over TCP alike.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "AgencyDb.h"
#include "CliRunner.h"
#include "DbWriter.h"
#include "FakeEnv.h"
#include "OddRows.h"
#include "TempPaths.h"
#include "TestEnvVars.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

using TLine = std::vector<std::string>;

// The lines of an import file, split at the TAB that ends each field.
std::vector<TLine> Lines(const std::string& file) {
  std::vector<TLine> lines;
  std::istringstream in(test::ReadFile(file));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    TLine fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      fields.push_back(line.substr(start, tab - start));
    lines.push_back(fields);
  }
  return lines;
}

// Booking lines ("01") of one invoice number.
std::vector<TLine> BookingLines(const std::vector<TLine>& lines, const std::string& invoiceNumber) {
  std::vector<TLine> found;
  for (const TLine& l : lines)
    if (l.size() == 63 && l[0] == "01" && l[2] == invoiceNumber) found.push_back(l);
  return found;
}

class AgencyDatabases : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    IEX_SKIP_WITHOUT_DATABASE();
    if (GetParam() && test::ServerHost().empty()) GTEST_SKIP() << "no Firebird server (IEX_FB_HOST) for this run";
    out_ = dir_.File("out");
    fs::create_directories(out_);
    test::SetEnv("IEX_DB_PW", GetParam() ? test::ServerPassword() : "x");
  }
  std::string Make(tools::AgencyOptions o, const std::string& script = "", const std::string& name = "agency.fdb") {
    if (o.invoices == 100) o.invoices = 12;
    path_ = test::MakeAgencyDb(dir_, name, o);
    if (!script.empty()) tools::TDbWriter::Open(path_, "SYSDBA", "", "UTF8")->ExecuteScript(script);
    return path_;
  }
  test::CliResult Export(std::vector<std::string> more = {"--all"}, const std::string& path = "") {
    const std::string db = path.empty() ? path_ : path;
    std::vector<std::string> args = {"--database", GetParam() ? test::RemotePath(db) : db, "--password-env", "IEX_DB_PW",
                                     "--output-dir", out_, "--summary-json", dir_.File("summary.json")};
    args.insert(args.end(), more.begin(), more.end());
    return test::RunCli(args, env_);
  }
  std::string Accounts() const { return test::ReadFile(out_ + "/IMPACCT.DAT"); }
  std::string Invoices() const { return test::ReadFile(out_ + "/IMPINV.DAT"); }

  test::TempDir dir_;
  test::FakeEnv env_;
  std::string path_, out_;
};

TEST_P(AgencyDatabases, Utf8TextIsWrittenInTheFilesCodePage) {
  tools::AgencyOptions o;
  o.charset = "UTF8";
  Make(o,
       "UPDATE PROFILE SET NAME = 'Müller n° €' WHERE PROFILENO = (SELECT MIN(CLIENT_LINKNO) FROM INVOICE);\n"
       // 30 characters, the last two bytes long: cut after it, never inside it.
       "UPDATE PROFILE SET NAME = 'ABCDEFGHIJKLMNOPQRSTUVWXYZABCÉ tail' WHERE PROFILENO = "
       "(SELECT MIN(VENDOR_LINKNO) FROM BOOKING);\n"
       "UPDATE UDIDS SET UDID = 'Łódź' WHERE UDIDSNO = (SELECT MIN(UDIDSNO) FROM UDIDS);\n");
  const test::CliResult r = Export();
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string accounts = Accounts(), invoices = Invoices();
  EXPECT_NE(accounts.find("\tM\xfcller n\xb0 \x80\t"), std::string::npos);
  EXPECT_NE(accounts.find("\tABCDEFGHIJKLMNOPQRSTUVWXYZABC\xc9\t"), std::string::npos);
  EXPECT_NE(invoices.find("\t?\xf3" "d?\t"), std::string::npos);  // Ł and ź have no byte in Windows-1252
  for (const std::string* file : {&accounts, &invoices}) EXPECT_EQ(file->find('\xc3'), std::string::npos) << "UTF-8 bytes";
  EXPECT_NE(r.err.find("Warning: 1 value holds characters the files' code page cannot hold"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("IMPINV.DAT line "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(", field 3 (UDID)."), std::string::npos) << r.err;
  EXPECT_NE(test::ReadFile(dir_.File("summary.json")).find("\"replacedCharacters\": {\"values\": 1,"), std::string::npos);
}

// The count of replaced characters is the number of fields of the files
// that hold a "?" for them: a value shown in several fields counts in each,
// a value read but never written (a second payment, a segment of a booking
// that writes none, a travel type's name) does not count.
TEST_P(AgencyDatabases, TheReplacedCharacterCountIsTheFieldsThatHoldOne) {
  tools::AgencyOptions o;
  o.charset = "UTF8";
  o.invoices = 40;
  Make(o,
       "UPDATE PROFILE SET NAME = 'Łukasz Air' WHERE PROFILENO = (SELECT MIN(VENDOR_LINKNO) FROM BOOKING);\n"
       "UPDATE TRAVELTYPE SET TRAVELTYPE = 'Łódź tours';\n"
       "UPDATE PAYMENT SET CKCCNO = 'Ł' WHERE PAYMENTNO IN (SELECT MAX(PAYMENT_LINKNO) FROM PAYDTL GROUP BY BOOKING_LINKNO "
       "HAVING COUNT(*) > 1);\n"
       "UPDATE SEGMENTS SET AIRLINE = 'Ł' WHERE BOOKING_LINKNO IN (SELECT BOOKINGNO FROM BOOKING B JOIN TRAVELTYPE T ON "
       "T.TRAVELTYPENO = B.TRAVELTYPE_LINKNO WHERE T.TRAVELCATEGORY_LINKNO <> 1);\n"
       "UPDATE UDIDS SET UDID = 'Ł' WHERE UDIDSNO = (SELECT MIN(UDIDSNO) FROM UDIDS);\n");
  const test::CliResult r = Export();
  ASSERT_EQ(r.status, 0) << r.err;
  long fields = 0;
  for (const std::string& file : {out_ + "/IMPACCT.DAT", out_ + "/IMPINV.DAT"})
    for (const TLine& line : Lines(file))
      for (const std::string& field : line) fields += field.find('?') != std::string::npos;
  ASSERT_GT(fields, 2);
  EXPECT_NE(r.err.find("Warning: " + std::to_string(fields) + " values hold characters the files' code page cannot hold"),
            std::string::npos)
      << r.err;
}

// Profile number 0 is an account like any other: a row naming no profile
// (an invoice without a client, one without bookings) is an account line of
// its own, never merged with profile 0's, whichever the filter selects first.
TEST_P(AgencyDatabases, ProfileZeroAndNoProfileAreTwoAccounts) {
  Make({}, "INSERT INTO PROFILE (PROFILENO, PROFILETYPE_LINKCODE, NAME, INTERFACEID) VALUES (0, 'V', 'Zero Vendor', "
           "'ZERO');\n" +
               test::HandMadeInvoice("990001", "990001", "2024-06-01") + test::HandMadeBooking("990001", "990001") +
               "UPDATE BOOKING SET VENDOR_LINKNO = 0 WHERE BOOKINGNO = 990001;\n" +
               test::HandMadeInvoice("990002", "990002", "2024-06-01") +
               "UPDATE INVOICE SET CLIENT_LINKNO = NULL WHERE INVOICENO = 990002;\n" +
               test::HandMadeInvoice("990003", "990003", "2024-06-01"));
  for (const auto& numbers : {std::vector<std::string>{"--from-number", "990001", "--to-number", "990003"},
                              std::vector<std::string>{"--from-number", "990001", "--to-number", "990002"},
                              std::vector<std::string>{"--from-number", "990001", "--to-number", "990001"},
                              std::vector<std::string>{"--all"}}) {
    const test::CliResult r = Export(numbers);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<TLine> accounts = Lines(out_ + "/IMPACCT.DAT");
    long zero = 0, none = 0;
    for (const TLine& l : accounts) {
      zero += l[0] == "ZERO" && l[3] == "Zero Vendor";
      none += l[0].empty() && l[3].empty();
    }
    EXPECT_EQ(zero, 1) << numbers[1] << " " << numbers.back();
    // The invoice without bookings names no vendor, the one without a client no client.
    EXPECT_EQ(none, numbers.back() == "990001" ? 0 : 1) << numbers[1] << " " << numbers.back();
  }
}

TEST_P(AgencyDatabases, NoneAndWin1252DatabasesGiveTheSameBytes) {
  tools::AgencyOptions o;
  Make(o, "", "none.fdb");
  tools::TDbWriter::Open(path_)->ExecuteScript(
      "UPDATE PROFILE SET NAME = 'M\xfcller' WHERE PROFILENO = (SELECT MIN(CLIENT_LINKNO) FROM INVOICE);\n");
  const std::string none = path_;
  o.charset = "WIN1252";
  const std::string win1252 = Make(
      o, "UPDATE PROFILE SET NAME = 'Müller' WHERE PROFILENO = (SELECT MIN(CLIENT_LINKNO) FROM INVOICE);\n", "win.fdb");
  ASSERT_EQ(Export({"--all"}, none).status, 0);
  const std::string accounts = Accounts(), invoices = Invoices();
  EXPECT_NE(accounts.find("\tM\xfcller\t"), std::string::npos);
  const test::CliResult r = Export({"--all"}, win1252);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Accounts(), accounts);
  EXPECT_EQ(Invoices(), invoices);
  EXPECT_EQ(r.err.find("code page"), std::string::npos) << r.err;
}

TEST_P(AgencyDatabases, ScaledAndFloatingAmountsAreHundredthsAndOverflowEndsTheRun) {
  Make({},
       // Columns of other numeric types, as other versions of the schema declare them.
       "ALTER TABLE BOOKING ADD TAX1_N NUMERIC(18,2);\n"
       "ALTER TABLE BOOKING ADD COMM_D DOUBLE PRECISION;\n"
       "ALTER TABLE BOOKING ADD FARE_N NUMERIC(18,4);\n"
       "UPDATE BOOKING SET TAX1_N = TAX1AMT / 100.00, COMM_D = COMMAMT / 100.0, FARE_N = CALCBASEFARE / 100.0000;\n"
       "ALTER TABLE BOOKING DROP TAX1AMT;\nALTER TABLE BOOKING ALTER TAX1_N TO TAX1AMT;\n"
       "ALTER TABLE BOOKING DROP COMMAMT;\nALTER TABLE BOOKING ALTER COMM_D TO COMMAMT;\n"
       "ALTER TABLE BOOKING DROP CALCBASEFARE;\nALTER TABLE BOOKING ALTER FARE_N TO CALCBASEFARE;\n" +
           test::HandMadeInvoice("990001", "990001", "2024-06-01") + test::HandMadeBooking("990001", "990001") +
           "UPDATE BOOKING SET TAX1AMT = 123.45, COMMAMT = 12.5, CALCBASEFARE = 5000.005 WHERE BOOKINGNO = 990001;\n");
  test::CliResult r = Export();
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<TLine> lines = BookingLines(Lines(out_ + "/IMPINV.DAT"), "990001");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0][11], "5000.01") << "base fare: a finer scale rounds half away from zero";
  EXPECT_EQ(lines[0][13], "12.5") << "commission amount, a floating column";
  EXPECT_EQ(lines[0][39], "123.45") << "tax 1, NUMERIC(18,2)";

  const std::string before = Accounts() + Invoices();
  for (const std::string amount : {"99999999.99", "-21474836.49"}) {
    tools::TDbWriter::Open(path_)->ExecuteScript("UPDATE BOOKING SET TAX1AMT = " + amount + " WHERE BOOKINGNO = 990001;\n");
    r = Export();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The amount " + amount +
                         " in TAX1AMT of invoice 990001 is outside the range the import file can hold "
                         "(-21474836.48 to 21474836.47)."),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Accounts() + Invoices(), before);
  }
}

TEST_P(AgencyDatabases, TimestampIssueDatesKeepTheWholeLastDay) {
  Make({},
       "DROP INDEX INVOICE_ISSUEDATE;\n"
       "ALTER TABLE INVOICE ADD ISSUED TIMESTAMP;\n"
       "UPDATE INVOICE SET ISSUED = ISSUEDATE;\n"
       "ALTER TABLE INVOICE DROP ISSUEDATE;\nALTER TABLE INVOICE ALTER ISSUED TO ISSUEDATE;\n"
       "CREATE INDEX INVOICE_ISSUEDATE ON INVOICE (ISSUEDATE);\n" +
           test::HandMadeInvoice("990002", "990002", "2024-06-30 18:30:00") + test::HandMadeBooking("990002", "990002") +
           test::HandMadeInvoice("990003", "990003", "2024-07-01 00:00:00") + test::HandMadeBooking("990003", "990003"));
  const test::CliResult r = Export({"--from-date", "2024-06-30", "--to-date", "2024-06-30"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<TLine> lines = Lines(out_ + "/IMPINV.DAT");
  EXPECT_EQ(BookingLines(lines, "990002").size(), 1u) << "issued at 18:30 on the last day";
  EXPECT_EQ(BookingLines(lines, "990003").size(), 0u) << "issued at midnight the day after";
  EXPECT_NE(r.err.find("Invoices issued from 2024-06-30 (30 June 2024) to 2024-06-30 (30 June 2024)."), std::string::npos)
      << r.err;
}

TEST_P(AgencyDatabases, OddKeysGiveOneLinePerBookingWithItsOwnPayment) {
  Make({}, test::OddKeysScript());
  const test::CliResult r = Export();
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<TLine> lines = Lines(out_ + "/IMPINV.DAT");
  const std::vector<TLine> zero = BookingLines(lines, "990004");
  ASSERT_EQ(zero.size(), 2u) << "one line per booking, whatever the travel type holds twice";
  for (const TLine& l : zero) {
    EXPECT_EQ(l[9], "P") << "the card payment, not the detail without one";
    EXPECT_EQ(l[49], "4111111111111111");
  }
  const std::string invoices = Invoices();
  EXPECT_NE(invoices.find("03\t1\tZERO UDID\t\r\n"), std::string::npos);
  EXPECT_EQ(invoices.find("NOT INVOICED"), std::string::npos);
  EXPECT_EQ(invoices.find("ZERO/990043"), std::string::npos);
  EXPECT_EQ(invoices.find("COPY/990041"), std::string::npos) << "a booking key held twice gives one line";
}

TEST_P(AgencyDatabases, CardValuesUnderAnotherKeyStopTheRun) {
  tools::AgencyOptions o;
  o.encryptCards = true;
  Make(o);
  ASSERT_EQ(Export().status, 0);
  const std::string before = Accounts() + Invoices();
  tools::TDbWriter::Open(path_)->ExecuteScript(
      "UPDATE MOVRA_SETTINGS SET FIELDSTRVALUE = '{FFEEDDCC-BBAA-9988-7766-554433221100}' WHERE FIELDNO = 47;\n");
  const test::CliResult r = Export();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("\ninvoice-export: The card numbers cannot be deciphered with this card key.\nPayment "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("settings row 47 or the build's key block does not match"), std::string::npos) << r.err;
  EXPECT_EQ(Accounts() + Invoices(), before);
}

TEST_P(AgencyDatabases, ControlBytesInAValueBecomeBlanks) {
  Make({});
  {
    auto w = tools::TDbWriter::Open(path_);
    tools::TDbWriter::Insert name(*w, "UPDATE PROFILE SET NAME = ? WHERE PROFILENO = (SELECT MIN(CLIENT_LINKNO) FROM INVOICE)");
    name.Run({std::string("A\0B\x1a" "C\x0b" "D\x0c" "E\x7f" "F\tG", 13)});
  }
  const test::CliResult r = Export();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Accounts().find("\tA B C D E F G\t"), std::string::npos);
}

TEST_P(AgencyDatabases, AFolderNamedInUtf8IsOpened) {
  const std::string folder = dir_.File("Donn\xc3\xa9" "es");
  fs::create_directories(PathOfText(folder));
  fs::permissions(PathOfText(folder), fs::perms::all);
  tools::AgencyOptions o;
  o.invoices = 5;
  path_ = folder + "/agency.fdb";
  tools::CreateAgencyDatabase(path_, o);
  fs::permissions(PathOfText(path_), fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec));
  const test::CliResult r = Export();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(Invoices().empty());
}

INSTANTIATE_TEST_SUITE_P(Connections, AgencyDatabases, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Tcp" : "Embedded"; });

}  // namespace
}  // namespace iex

// One measured pass over an agency database, in one of three modes:
//   export  the real export into a folder (both files, one transaction)
//   stated  the same export through the statements as the system states them
//   floor   one plain SELECT per table the export reads, only the columns it
//           reads, no joins, no procedure, every row fetched and dropped: the
//           least any program must read to write these files
// An export may be limited to a selection: --day YYYY-MM-DD (issued that
// day) or --numbers FIRST LAST (invoice numbers).
// Prints the mode, the seconds and the peak memory of the process.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "StatedQueries.h"
#include "db/DataModule.h"
#include "db/DbExportSource.h"
#include "db/ExportRowSources.h"
#include "export/ExportRun.h"
#include "export/RevenueTypes.h"
#include "platform/Error.h"
#include "util/DateValue.h"

namespace {

class QuietView : public iex::TExportView {
 public:
  void ShowProgress(const iex::TExportProgress&) override {}
  void EnableExport(bool) override {}
  bool ChooseFolder(const std::string&, std::string&) override { return false; }
};

std::size_t ReadAll(iex::db::TQuery& q) {
  std::size_t bytes = 0;
  for (int i = 0; i < q.FieldCount(); ++i) bytes += q.Field(i).AsBytes().size();
  return bytes;
}

const char* const kFloorStatements[] = {
    "SELECT INVOICENO, BRANCH_LINKNO, INVOICENUMBER, ISSUEDATE, INVOICETYPE_LINKCODE, CLIENT_LINKNO, "
    "FIRSTINSIDEAGENTBKG_LINKNO, FIRSTOUTSIDEAGENTBKG_LINKNO, RECORDLOCATOR, INVOICEGROUP, PAYSTATUS_LINKCODE FROM INVOICE",
    "SELECT BOOKINGNO, INVOICE_LINKNO, VENDOR_LINKNO, RESERVATION_LINKNO, TRAVELTYPE_LINKNO, SUBMITTO_LINKCODE, "
    "PASSENGERNAME, CALCBASEFARE, COMMRATE, COMMAMT, STARTINGTICKETNO, CONFIRMNO, DEPARTDATE, RETURNDATE, ETICKETIND, "
    "ENDINGTICKETNO, INTER_LINKCODE, HIGHFARE, LOWFARE, TAX1AMT, TAX2AMT, TAX3AMT, TAX4AMT FROM BOOKING",
    "SELECT SEGMENTNO, BOOKING_LINKNO, INDEXNO, AIRLINE, FLIGHTNO, CONNECTION, DEPARTCITY, ARRIVECITY, DEPARTDATETIME, "
    "ARRIVEDATETIME, FAREBASIS, FARE, CLASSOFSVC FROM SEGMENTS",
    "SELECT BOOKING_LINKNO, UDIDNO, UDID FROM UDIDS",
    "SELECT BOOKING_LINKNO, PAYMENT_LINKNO FROM PAYDTL",
    "SELECT PAYMENTNO, PAYMETHOD_LINKNO, CKCCNO, CKCCNOENCRYPT FROM PAYMENT",
    "SELECT RESERVATIONNO, RESCARD_LINKNO, SOURCEOFBOOKING, RESDATE FROM RESCARDRESERVATION",
    "SELECT RESCARDNO, DESTINATIONBYREGION FROM RESCARD",
    "SELECT RESCARDDESTINATIONNO, RESCARD_LINKNO, DESTINATION FROM RESCARDDESTINATION",
    "SELECT AGENTBKGNO, AGENT_LINKNO FROM AGENTBKG",
    "SELECT PROFILENO, PROFILETYPE_LINKCODE, NAME, INTERFACEID, RATE1, AIRLINENO FROM PROFILE",
    "SELECT PROFILE_LINKNO, TRAVELCATEGORY_LINKNO FROM PROFILETRVLCAT",
    "SELECT PROFILE_LINKNO, ADDRESS_LINKNO FROM ADDRINSTANCE WHERE ADDRTYPE_LINKNO = 1",
    "SELECT ADDRESSNO, ADDRESS1, ADDRESS2, CITY, STATE, ZIP, COUNTRY FROM ADDRESS",
    "SELECT PROFILE_LINKNO, COMMTYPE_LINKNO, COMMVALUE, DESCRIPTION FROM PROFILECOMM",
    "SELECT TRAVELTYPENO, TRAVELTYPE, TRAVELCATEGORY_LINKNO FROM TRAVELTYPE",
    "SELECT L.CCNO, T.CODE FROM CCNO_LOOKUP L LEFT JOIN CCTYPES T ON T.TYPENO = L.CCTYPE_LINKNO",
    "SELECT FIELDNO, FIELDSTRVALUE FROM MOVRA_SETTINGS",
    "SELECT ZAMTABLEVERSIONNO, ACTIVEVERSION FROM TABLEVERSION",
};

std::size_t Floor(iex::db::TdmMain& dm) {
  std::size_t bytes = 0;
  dm.trExport.StartTransaction();
  iex::db::TQuery q(dm.trExport);
  for (const char* sql : kFloorStatements) {
    q.SetSQL({sql});
    q.ExecQuery();
    for (; !q.Eof(); q.Next()) bytes += ReadAll(q);
    q.Close();
  }
  dm.trExport.Commit();
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr,
                 "usage: export_bench export|stated|floor DATABASE PASSWORD OUTPUT_DIR [--day YYYY-MM-DD | --numbers FIRST LAST]\n");
    return 2;
  }
  const std::string mode = argv[1];
  iex::ExportSettings s;
  for (int c = 1; c <= 10; ++c) s.CategoryLetters[static_cast<std::size_t>(c)] = iex::GetDefaultRevenueType(c);
  const std::string selection = argc > 5 ? argv[5] : "";
  if (selection == "--day" && argc > 6) {
    int y = 0, m = 0, d = 0;
    std::sscanf(argv[6], "%d-%d-%d", &y, &m, &d);
    s.StartInvDate = s.EndInvDate = iex::EncodeDate(y, m, d);
  } else if (selection == "--numbers" && argc > 7) {
    s.StartInvNo = std::atof(argv[6]);
    s.EndInvNo = std::atof(argv[7]);
  } else if (!selection.empty()) {
    std::fprintf(stderr, "export_bench: unknown selection %s\n", selection.c_str());
    return 2;
  }
  try {
    iex::db::TdmMain dm;
    if (!dm.ConnectToDB(argv[2], "SYSDBA", argv[3])) {
      std::fprintf(stderr, "cannot connect to %s\n", argv[2]);
      return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    if (mode == "export" || mode == "stated") {
      QuietView view;
      iex::db::TDbExportSource source(dm, mode == "stated" ? iex::db::TRowSourceFactory(iex::db::MakeStatedQueryRows)
                                                           : iex::db::TRowSourceFactory());
      iex::TExportRun run(source, view, iex::DefaultEnv());
      run.FixedOutputDir = argv[4];
      run.RunExport(s, [] {});
    } else {
      Floor(dm);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %.3f s, peak memory %ld KiB\n", mode.c_str(), seconds, usage.ru_maxrss);
  } catch (const iex::EMvError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

// One measured pass over an agency database, in one of two modes:
//   export  the real export into a folder (both files, one transaction)
//   fetch   the same profile, invoice and per-booking UDID queries, every
//           column read, nothing written: the floor the export stands on
// Prints the mode, the seconds and the peak memory of the process.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "db/DataModule.h"
#include "export/ExportRun.h"
#include "export/RevenueTypes.h"
#include "platform/Error.h"

namespace {

class QuietView : public iex::TExportView {
 public:
  void SetStatusText(const std::string&) override {}
  void SetStatusNumber(const std::string&) override {}
  void ProcessMessages() override {}
  void EnableExport(bool) override {}
  bool ChooseFolder(const std::string&, std::string&) override { return false; }
  void ShowError(const std::string&) override {}
};

std::size_t ReadAll(iex::db::TQuery& q) {
  std::size_t bytes = 0;
  for (int i = 0; i < q.FieldCount(); ++i) bytes += q.Field(i).AsBytes().size();
  return bytes;
}

std::size_t Fetch(iex::db::TdmMain& dm) {
  std::size_t bytes = 0;
  dm.GetDBVersion();
  bool encrypted = false;
  iex::TRDLBlock key{};
  dm.ProcessCCEncrypt(encrypted, key);
  dm.trExport.StartTransaction();
  dm.PrepareProfileQuery({});
  dm.sqlProfileExp.ExecQuery();
  for (; !dm.sqlProfileExp.Eof(); dm.sqlProfileExp.Next()) bytes += ReadAll(dm.sqlProfileExp);
  dm.sqlProfileExp.Close();
  dm.PrepareInvoiceQuery({}, encrypted);
  dm.PrepareUdids();
  iex::TStringIntList cards;
  dm.CacheCCLookUp(cards);
  dm.sqlInvoiceExp.ExecQuery();
  const int bookingColumn = dm.sqlInvoiceExp.FieldIndex("BOOKINGNO");
  int32_t last = -1;
  auto udids = [&](int32_t booking) {
    dm.sqlUDIDs.SetParamInteger("BOOKING_LINKNO", booking);
    dm.sqlUDIDs.ExecQuery();
    for (; !dm.sqlUDIDs.Eof(); dm.sqlUDIDs.Next()) bytes += ReadAll(dm.sqlUDIDs);
    dm.sqlUDIDs.Close();
  };
  for (; !dm.sqlInvoiceExp.Eof(); dm.sqlInvoiceExp.Next()) {
    const int32_t booking = dm.sqlInvoiceExp.Field(bookingColumn).AsInteger();
    if (booking != last && last != -1) udids(last);
    last = booking;
    bytes += ReadAll(dm.sqlInvoiceExp);
  }
  udids(last);
  dm.sqlInvoiceExp.Close();
  dm.trExport.Commit();
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: export_bench export|fetch DATABASE PASSWORD OUTPUT_DIR\n");
    return 2;
  }
  const std::string mode = argv[1];
  try {
    iex::db::TdmMain dm;
    if (!dm.ConnectToDB(argv[2], "SYSDBA", argv[3])) {
      std::fprintf(stderr, "cannot connect to %s\n", argv[2]);
      return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    if (mode == "export") {
      QuietView view;
      iex::TExportRun run(dm, view, iex::DefaultEnv());
      run.FixedOutputDir = argv[4];
      iex::ExportSettings s;
      for (int c = 1; c <= 10; ++c) s.CategoryLetters[static_cast<std::size_t>(c)] = iex::GetDefaultRevenueType(c);
      run.RunExport(s, [] {});
    } else {
      Fetch(dm);
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

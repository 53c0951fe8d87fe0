#include "export/AccountLayout.h"
#include "export/ExportContext.h"
#include "export/RowsClosed.h"

namespace iex {

void ExportProfiles(TExportContext& ctx) {
  TLineWriter out = ctx.output.Create("IMPACCT.DAT");
  ctx.Show(TExportPhase::ReadingProfiles, TProgressUnit::Accounts);
  TExportRowSource& rows = ctx.source.Rows();
  {
    const TRowsClosed closed(rows);
    rows.OpenProfiles(ctx.Filter());
    TProfileRow row;
    int32_t last = 0;
    bool lastNoProfile = false, first = true;
    // One line per run of rows of one profile, from the first; the rows
    // without a profile are an account of their own, never profile 0's.
    while (rows.NextProfile(row)) {
      ctx.CheckStop();
      if (first || row.profileNo != last || row.noProfile != lastNoProfile) {
        WriteRecord(out, AccountLayout(), row, ctx.style, row.lossy, ctx.summary.losses);
        ++ctx.summary.accountLines;
        ctx.Show(TExportPhase::WritingAccounts, TProgressUnit::Accounts, ctx.summary.accountLines, -1,
                 std::to_string(row.profileNo));
      }
      last = row.profileNo;
      lastNoProfile = row.noProfile;
      first = false;
    }
  }
  out.Close();
}

}  // namespace iex

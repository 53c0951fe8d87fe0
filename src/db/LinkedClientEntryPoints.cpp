#include <ibase.h>

#include "db/ClientEntryPoints.h"

// Linked against libfbclient: the loader has found it before main runs.
namespace iex::db::fb {

Firebird::IMaster* LoadMasterInterface() { return Firebird::fb_get_master_interface(); }

ISC_LONG SqlCodeOf(const ISC_STATUS* status) { return isc_sqlcode(status); }

bool ClientLibraryLoaded() noexcept { return true; }

}  // namespace iex::db::fb

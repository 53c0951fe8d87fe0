#pragma once
// Private to the database layer: the two functions taken from the client
// library by name. Everything else goes through the interfaces they give.
#include <firebird/Interface.h>

namespace iex::db::fb {

// The client's master interface; raises EDatabaseError when the client
// library cannot be loaded.
Firebird::IMaster* LoadMasterInterface();
// The SQL code of a status vector; call only after LoadMasterInterface succeeded.
ISC_LONG SqlCodeOf(const ISC_STATUS* status);
// Whether the client library is in the process (it may then hold threads and
// files that want ending).
bool ClientLibraryLoaded() noexcept;

}  // namespace iex::db::fb

#include <windows.h>

#include <ibase.h>

#include <mutex>

#include "db/ClientEntryPoints.h"
#include "db/DbError.h"

// fbclient.dll is looked up when it is first needed, so the program starts,
// lists aliases and says what is missing on a machine without the client.
namespace iex::db::fb {

namespace {
using MasterFunction = Firebird::IMaster*(ISC_EXPORT*)();
using SqlCodeFunction = ISC_LONG(ISC_EXPORT*)(const ISC_STATUS*);

struct Client {
  HMODULE module = nullptr;
  MasterFunction master = nullptr;
  SqlCodeFunction sqlCode = nullptr;
};

// Loaded once and kept for the life of the process: the engine's threads
// live in it.
const Client& TheClient() {
  static const Client client = [] {
    Client c;
    c.module = LoadLibraryW(L"fbclient.dll");
    if (!c.module) return c;
    c.master = reinterpret_cast<MasterFunction>(reinterpret_cast<void*>(GetProcAddress(c.module, "fb_get_master_interface")));
    c.sqlCode = reinterpret_cast<SqlCodeFunction>(reinterpret_cast<void*>(GetProcAddress(c.module, "isc_sqlcode")));
    return c;
  }();
  return client;
}
}  // namespace

Firebird::IMaster* LoadMasterInterface() {
  const Client& c = TheClient();
  if (!c.module || !c.master || !c.sqlCode)
    throw EDatabaseError("The Firebird client library fbclient.dll could not be loaded: install the Firebird client", 0);
  return c.master();
}

ISC_LONG SqlCodeOf(const ISC_STATUS* status) { return TheClient().sqlCode ? TheClient().sqlCode(status) : 0; }

bool ClientLibraryLoaded() noexcept { return TheClient().master != nullptr; }

}  // namespace iex::db::fb

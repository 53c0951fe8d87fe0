#include "db/FbApi.h"

#include <ibase.h>

#include <string>

#include "db/DbError.h"

namespace iex::db::fb {

Firebird::IMaster* Master() {
  static Firebird::IMaster* master = Firebird::fb_get_master_interface();
  return master;
}

Status::Status() : wrapper_(Master()->getStatus()) {}
Status::~Status() { wrapper_.dispose(); }

void Raise(const Firebird::FbException& e) {
  char text[2048] = {};
  Master()->getUtilInterface()->formatStatus(text, sizeof text - 1, e.getStatus());
  const int sqlCode = static_cast<int>(isc_sqlcode(e.getStatus()->getErrors()));
  std::string message(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  throw EDatabaseError(message, sqlCode);
}

}  // namespace iex::db::fb

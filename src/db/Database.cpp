#include "db/Database.h"

#include <ibase.h>

#include <algorithm>

#include "db/DbError.h"
#include "db/ErrorReasons.h"
#include "db/ServerWatch.h"
#include "db/FbApi.h"
#include "db/Transaction.h"
#include "platform/Console.h"
#include "platform/SignalsKept.h"

namespace iex::db {

TDatabase::TDatabase() = default;

TDatabase::~TDatabase() {
  Disconnect();
  for (TTransaction* t : transactions_) t->database_ = nullptr;
}

void TDatabase::Unregister(TTransaction* t) {
  transactions_.erase(std::remove(transactions_.begin(), transactions_.end(), t), transactions_.end());
}

void TDatabase::Connect() {
  if (Connected()) return;
  UseUtf8FileNames();
  fb::Call([&] {
    fb::Status st;
    auto* util = fb::Master()->getUtilInterface();
    Firebird::IXpbBuilder* dpb = util->getXpbBuilder(&st, Firebird::IXpbBuilder::DPB, nullptr, 0);
    fb::BuilderScope builderScope{dpb};
    for (const std::string& line : Params) {
      const auto eq = line.find('=');
      const std::string name = line.substr(0, eq);
      const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
      if (name == "USER_NAME")
        dpb->insertString(&st, isc_dpb_user_name, value.c_str());
      else if (name == "PASSWORD")
        dpb->insertString(&st, isc_dpb_password, value.c_str());
      else
        throw EDatabaseError("Unknown connection parameter " + name + ".", 0);
    }
    dpb->insertString(&st, isc_dpb_lc_ctype, "NONE");
    dpb->insertTag(&st, isc_dpb_utf8_filename);
    dpb->insertInt(&st, isc_dpb_connect_timeout, 30);  // a server that never answers ends the wait
    // SRP only unless asked: the legacy method would hand a false server the password's hash.
    dpb->insertString(&st, isc_dpb_auth_plugin_list, AllowLegacyLogin ? "Srp256,Srp,Legacy_Auth" : "Srp256,Srp");
    fb::ProviderScope scope;
    const TSignalsKept ours;  // the client takes Ctrl-C over at its first attach
    Firebird::IAttachment* attached =
        scope.provider->attachDatabase(&st, DatabaseNameUtf8.c_str(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
    DroppedSilentServer = false;
    std::unique_ptr<TServerWatch> watch;
    if (!ParseConnectionString(DatabaseNameUtf8).host.empty())
      watch = std::make_unique<TServerWatch>(
          TServerWatch::Hooks{[this] { return Answers(); }, [this] { return calls_.load() > 0; },
                              [this] { Cancel(fb_cancel_abort); }, [this] { DroppedSilentServer = true; }},
          std::chrono::seconds(SilenceLimitSeconds.load()));
    const std::lock_guard lock(handleMutex_);
    attachment_.reset(attached);
    watch_ = std::move(watch);

    const unsigned char items[] = {isc_info_db_sql_dialect, isc_info_end};
    unsigned char answer[32] = {};
    attachment_->getInfo(&st, sizeof items, items, sizeof answer, answer);
    dialect_ = 3;
    if (answer[0] == isc_info_db_sql_dialect) {
      const int length = answer[1] | (answer[2] << 8);
      if (length >= 1 && answer[3] < 3) dialect_ = answer[3];
    }
  });
}

void TDatabase::Disconnect() {
  if (!attachment_) return;
  for (TTransaction* t : transactions_) t->EndOnDisconnect();
  // The transactions' ends above were watched: a server that did not answer
  // them has been dropped, so the detach does not wait on it either.
  fb::Ref<Firebird::IAttachment> leaving;
  std::unique_ptr<TServerWatch> watch;
  {
    const std::lock_guard lock(handleMutex_);
    leaving = std::move(attachment_);
    watch = std::move(watch_);
  }
  fb::Finish(leaving, [](Firebird::IAttachment* a, Firebird::ThrowStatusWrapper* st) { a->detach(st); });
  watch.reset();
}

void TDatabase::Cancel(int option) noexcept {
  // A reference of its own, taken under the lock: the owning thread may
  // detach meanwhile without the cancel reading a freed handle, and the
  // lock is never held across a call that waits for the server.
  fb::Ref<Firebird::IAttachment> a;
  {
    const std::lock_guard lock(handleMutex_);
    if (!attachment_) return;
    attachment_->addRef();
    a.reset(attachment_.get());
    if (watch_ && option == fb_cancel_raise) watch_->StopAsked();
  }
  try {
    fb::Status st;
    a->cancelOperation(&st, option);
  } catch (...) {
  }
}

void TDatabase::CancelOperation() noexcept { Cancel(fb_cancel_raise); }

void TDatabase::AbortConnection() noexcept { Cancel(fb_cancel_abort); }

void TDatabase::SetConnected(bool value) {
  if (value)
    Connect();
  else
    Disconnect();
}

}  // namespace iex::db

#include "export/CardKey.h"

#include "crypto/CardDecoding.h"
#include "platform/Error.h"

namespace iex {

void ProcessCCEncrypt(const TCardSettings& settings, bool& IsCCEncrypt, TRDLBlock& CipherKey) {
  IsCCEncrypt = !settings.encryptSwitch.empty();
  const TCipherKeyResult key = MakeCipherKey(settings.keyText, CipherKey);
  if (IsCCEncrypt && key != TCipherKeyResult::Derived) throw EMvError("Invalid card key setting.");
}

}  // namespace iex

#include "export/CardKey.h"

#include "crypto/CardDecoding.h"
#include "platform/Error.h"

namespace iex {

void ProcessCCEncrypt(db::TdmMain& dm, bool& IsCCEncrypt, TRDLBlock& CipherKey) {
  const std::string keyText = dm.ReadCCKeySetting();
  const std::string switchText = dm.ReadCCEncryptSetting();
  IsCCEncrypt = !switchText.empty();
  const TCipherKeyResult key = MakeCipherKey(keyText, CipherKey);
  if (IsCCEncrypt && key != TCipherKeyResult::Derived) throw EMvError("Invalid card key setting.");
}

}  // namespace iex

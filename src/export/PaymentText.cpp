#include "export/PaymentText.h"

namespace iex {

std::string PaymentText(const TPaymentRow& payment, const TExportContext& ctx) {
  if (!ctx.isCCEncrypt || !ctx.cards) return payment.ckccNo;
  const std::string& sealed = payment.ckccNoEncrypt;
  if (sealed.size() == 1) return payment.ckccNo;
  try {
    return ctx.cards->Decode(sealed);
  } catch (const ECardKeyMismatch& e) {
    throw EMvError(std::string(e.what()) + "\nPayment " + std::to_string(payment.paymentNo) +
                   ": the card key of settings row 47 or the build's key block does not match the key the card "
                   "numbers were enciphered with. No file was changed.");
  }
}

}  // namespace iex

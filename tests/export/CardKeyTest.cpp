#include <gtest/gtest.h>

#include "crypto/CardDecoding.h"
#include "export/CardKey.h"
#include "platform/Error.h"

namespace iex {
namespace {

constexpr const char* kKeyText = "{00112233-4455-6677-8899-AABBCCDDEEFF}";

TEST(ProcessCCEncrypt, SettingsGiveTheKeyOrAClearError) {
  TRDLBlock derived{};
  ASSERT_EQ(MakeCipherKey(kKeyText, derived), TCipherKeyResult::Derived);
  TRDLBlock untouched;
  untouched.fill(0x5A);
  struct Case {
    const char* what;
    TCardSettings settings;
    bool encrypted;
    bool derivedKey;  // else the key stays as it was
    const char* error;
  } cases[] = {
      {"switched off, key given", {kKeyText, ""}, false, true, nullptr},
      {"switched on, key given", {kKeyText, "Y"}, true, true, nullptr},
      {"switched on, no key text", {"", "N"}, true, false, "Invalid card key setting."},
      {"switched on, a short key", {"{0011}", "Y"}, true, false, "Invalid card key setting."},
      {"switched off: a short key harms nobody", {"{0011}", ""}, false, false, nullptr},
  };
  for (const Case& c : cases) {
    TRDLBlock key = untouched;
    bool encrypted = !c.encrypted;
    std::string error;
    try {
      ProcessCCEncrypt(c.settings, encrypted, key);
    } catch (const EMvError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.error ? c.error : "") << c.what;
    EXPECT_EQ(encrypted, c.encrypted) << c.what;
    EXPECT_EQ(key, c.derivedKey ? derived : untouched) << c.what;
  }
}

}  // namespace
}  // namespace iex

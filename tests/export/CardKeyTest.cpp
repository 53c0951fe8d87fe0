#include <gtest/gtest.h>

#include "AgencyDb.h"
#include "DbWriter.h"
#include "crypto/CardDecoding.h"
#include "export/CardKey.h"
#include "platform/Error.h"

namespace iex {
namespace {

class CardKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IEX_SKIP_WITHOUT_DATABASE();
    tools::AgencyOptions o;
    o.invoices = 5;
    path_ = test::MakeAgencyDb(dir_, "card.fdb", o);
  }
  void Shape(const std::string& script) { tools::TDbWriter::Open(path_)->ExecuteScript(script); }
  void Connect() { ASSERT_TRUE(dm_.ConnectToDB(path_, "SYSDBA", "x")); }

  test::TempDir dir_;
  std::string path_;
  db::TdmMain dm_;
};

TEST_F(CardKeyTest, SettingsGiveTheKeyOrAClearError) {
  TRDLBlock key;
  key.fill(0x5A);
  const TRDLBlock untouched = key;
  bool encrypted = true;

  Connect();
  ProcessCCEncrypt(dm_, encrypted, key);  // row 48 missing
  EXPECT_FALSE(encrypted);
  TRDLBlock expected{};
  MakeCipherKey(tools::AgencyOptions{}.keyText, expected);
  EXPECT_EQ(key, expected);

  dm_.ZAMDatabase.SetConnected(false);
  Shape("INSERT INTO MOVRA_SETTINGS VALUES (48, 'N');\nUPDATE MOVRA_SETTINGS SET FIELDSTRVALUE = '' WHERE FIELDNO = 47;\n");
  Connect();
  key = untouched;
  EXPECT_THROW(
      {
        try {
          ProcessCCEncrypt(dm_, encrypted, key);
        } catch (const EMvError& e) {
          EXPECT_STREQ(e.what(), "Invalid card key setting.");
          throw;
        }
      },
      EMvError);
  EXPECT_EQ(key, untouched);

  dm_.ZAMDatabase.SetConnected(false);
  Shape("DELETE FROM MOVRA_SETTINGS WHERE FIELDNO = 48;\nUPDATE MOVRA_SETTINGS SET FIELDSTRVALUE = '{0011}' WHERE FIELDNO = 47;\n");
  Connect();
  ProcessCCEncrypt(dm_, encrypted, key);  // switched off: the short key harms nobody
  EXPECT_FALSE(encrypted);
  EXPECT_EQ(key, untouched);
}

}  // namespace
}  // namespace iex

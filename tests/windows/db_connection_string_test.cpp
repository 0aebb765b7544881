// Connection strings: the ADO-style parser and the translation into the
// connection string of an ODBC driver.
#include <gtest/gtest.h>

#include "db/ConnectionString.h"
#include "framework/Exception.h"

using namespace kestu::db;

namespace {

const std::vector<String> kFreeTdsOnly{L"FreeTDS"};

String Translate(const String& ado, const std::vector<String>& drivers = kFreeTdsOnly) {
  return TranslateConnectionString(ado, drivers).connectionString;
}

}  // namespace

TEST(ConnectionStringParse, QuotingBlanksAndEscapedEquals) {
  const auto properties = ParseConnectionString(
      L" Provider = SQLOLEDB.1 ;Data Source=\"a;b\"\"c\"; Initial Catalog='it''s' ;;"
      L"odd==key=x=y;Empty=");
  ASSERT_EQ(properties.size(), 5u);
  EXPECT_EQ(properties[0].key, L"Provider");
  EXPECT_EQ(properties[0].value, L"SQLOLEDB.1");
  EXPECT_EQ(properties[1].value, L"a;b\"c");
  EXPECT_EQ(properties[2].value, L"it's");
  EXPECT_EQ(properties[3].key, L"odd=key");
  EXPECT_EQ(properties[3].value, L"x=y");
  EXPECT_EQ(properties[4].value, L"");
  EXPECT_EQ(FindProperty(properties, L"initial catalog"), L"it's");
  EXPECT_FALSE(FindProperty(properties, L"Password"));
}

TEST(ConnectionStringParse, RejectsBrokenText) {
  EXPECT_THROW(ParseConnectionString(L"Provider"), kestu::Exception);
  EXPECT_THROW(ParseConnectionString(L"Data Source=\"open"), kestu::Exception);
  EXPECT_THROW(ParseConnectionString(L"Data Source='a' b;x=1"), kestu::Exception);
  EXPECT_THROW(ParseConnectionString(L"=value"), kestu::Exception);
}

TEST(ConnectionStringTranslate, InstallerStringReachesTheLocalServerWithIntegratedLogin) {
  const String installer =
      L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False";
  EXPECT_EQ(Translate(installer),
            L"Driver={FreeTDS};Server=localhost;Port=1433;TDS_Version=7.4;Trusted_Connection=Yes");
  EXPECT_EQ(Translate(installer, {L"FreeTDS", L"SQL Server"}),
            L"Driver={SQL Server};Server=(local);Trusted_Connection=Yes");
  EXPECT_EQ(Translate(installer, {L"sql server", L"ODBC Driver 18 for SQL Server"}),
            L"Driver={ODBC Driver 18 for SQL Server};Server=(local);Trusted_Connection=Yes;"
            L"Encrypt=Optional");
  EXPECT_FALSE(TranslateConnectionString(installer, kFreeTdsOnly).loginTimeoutSeconds);
}

TEST(ConnectionStringTranslate, DataSourceCatalogAndTimeout) {
  EXPECT_EQ(Translate(L"Provider=SQLOLEDB;Integrated Security=SSPI;Data Source=localhost,14330"),
            L"Driver={FreeTDS};Server=localhost;Port=14330;TDS_Version=7.4;Trusted_Connection=Yes");
  EXPECT_EQ(Translate(L"Provider=SQLOLEDB;Integrated Security=SSPI;Data Source=db1, 1500",
                      {L"ODBC Driver 17 for SQL Server"}),
            L"Driver={ODBC Driver 17 for SQL Server};Server=db1,1500;Trusted_Connection=Yes");
  EXPECT_EQ(Translate(L"Integrated Security=SSPI;Data Source=(local);Initial Catalog=\"a;}b\""),
            L"Driver={FreeTDS};Server=localhost;Port=1433;TDS_Version=7.4;Database={a;}}b};"
            L"Trusted_Connection=Yes");
  const OdbcConnectRequest timed = TranslateConnectionString(
      L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Connect Timeout=5", kFreeTdsOnly);
  EXPECT_EQ(timed.loginTimeoutSeconds, 5u);
  EXPECT_THROW(Translate(L"Integrated Security=SSPI;Data Source=h,"), kestu::Exception);
  EXPECT_THROW(Translate(L"Integrated Security=SSPI;Data Source=h,12x"), kestu::Exception);
}

TEST(ConnectionStringTranslate, RefusesWhatItCannotHonour) {
  // Credentials never pass through, and a login other than the integrated one
  // is not offered.
  EXPECT_THROW(Translate(L"Provider=SQLOLEDB;Integrated Security=SSPI;User ID=sa;Password=x"),
               kestu::Exception);
  EXPECT_THROW(Translate(L"Provider=SQLOLEDB;Persist Security Info=False"), kestu::Exception);
  EXPECT_THROW(Translate(L"Provider=Microsoft.Jet.OLEDB.4.0;Integrated Security=SSPI"),
               kestu::Exception);
  EXPECT_THROW(Translate(L"Provider=SQLOLEDB;Integrated Security=SSPI;Packet Size=512"),
               kestu::Exception);
  try {
    Translate(L"Provider=SQLOLEDB;Integrated Security=SSPI", {L"PostgreSQL Unicode"});
    FAIL() << "no SQL Server driver is installed";
  } catch (const kestu::Exception& error) {
    EXPECT_NE(error.Message().find(L"No SQL Server ODBC driver"), String::npos);
  }
}

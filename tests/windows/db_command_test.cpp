// The command component: its own errors, what the user sees of driver and
// server errors, and a real connect attempt through the installed driver.
#include <gtest/gtest.h>

#include "db/ADOCommand.h"
#include "db/OdbcConnection.h"
#include "db/ServerMessage.h"
#include "framework/Classes.h"
#include "framework/Exception.h"

using kestu::Exception;
using kestu::TADOCommand;
using namespace kestu::db;

namespace {

String MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& error) {
    return error.Message();
  }
  return L"<no error>";
}

}  // namespace

TEST(ServerMessageText, BracketedPrefixesAreStripped) {
  EXPECT_EQ(CleanServerMessage(L"[FreeTDS][SQL Server]Database 'Kestu' already exists."),
            L"Database 'Kestu' already exists.");
  EXPECT_EQ(CleanServerMessage(
                L"[Microsoft][ODBC SQL Server Driver][SQL Server]Login failed for user 'x'.\r\n"),
            L"Login failed for user 'x'.");
  EXPECT_EQ(CleanServerMessage(L"Cannot open [file].mdf"), L"Cannot open [file].mdf");
  EXPECT_EQ(CleanServerMessage(L"[unclosed prefix"), L"[unclosed prefix");
}

TEST(ServerMessageText, FirstErrorWinsOverWarnings) {
  const std::vector<Diagnostic> records{
      {L"01000", 5701, L"[FreeTDS][SQL Server]Changed database context to 'master'."},
      {L"42000", 1801, L"[FreeTDS][SQL Server]Database 'Kestu' already exists."},
      {L"42000", 0, L"[FreeTDS][SQL Server]Second error"}};
  EXPECT_EQ(ErrorText(records, L"fallback"), L"Database 'Kestu' already exists.");
  EXPECT_EQ(ErrorText({records[0]}, L"fallback"), L"Changed database context to 'master'.");
  EXPECT_EQ(ErrorText({}, L"fallback"), L"fallback");
  EXPECT_EQ(ErrorText({{L"HY000", 0, L"[FreeTDS]"}}, L"fallback"), L"fallback");
}

TEST(ADOCommand, MissingTextOrConnection) {
  TADOCommand command(nullptr);
  EXPECT_EQ(MessageOf([&] { command.Execute(); }), L"Missing CommandText property");
  command.SetCommandText(L"SELECT 1");
  EXPECT_EQ(MessageOf([&] { command.Execute(); }), L"Missing Connection or ConnectionString");
  EXPECT_FALSE(command.Connected());
}

TEST(ADOCommand, ParametersComeFromTheScanWhenNoServerAnswers) {
  TADOCommand command(nullptr);
  command.SetCommandText(L"UPDATE t SET a = :amount WHERE b = ':no' AND c = :code");
  ASSERT_EQ(command.Parameters().Count(), 2);
  EXPECT_EQ(command.Parameters()[0].Name, L"amount");
  EXPECT_NE(command.Parameters().FindParam(L"CODE"), nullptr);
  command.SetParamCheck(false);
  command.SetCommandText(L"SELECT :x");
  EXPECT_EQ(command.Parameters().Count(), 0);
}

TEST(ADOCommand, PublishedForStoredDescriptions) {
  kestu::RegisterClasses<TADOCommand>();
  kestu::TComponent owner(nullptr);
  auto* command = static_cast<TADOCommand*>(
      kestu::GetClass("TADOCommand").createComponent(&owner));
  EXPECT_EQ(command->Owner(), &owner);
  command->SetLoading(true);
  // While a description is read, assigning a text connects to nothing.
  kestu::SetStrProp(command, "ConnectionString",
                    L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Data Source=localhost,1");
  kestu::SetStrProp(command, "CommandText", L"SELECT :a");
  command->SetLoading(false);
  EXPECT_EQ(command->ConnectionString(),
            L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Data Source=localhost,1");
  EXPECT_EQ(command->Parameters().Count(), 1);
  EXPECT_FALSE(command->Connected());
  EXPECT_TRUE(kestu::HasPublishedProperty(command, "ParamCheck"));
}

TEST(ADOCommand, FailedConnectIsSwallowedOnAssignAndReportedOnExecute) {
  std::vector<String> drivers = InstalledDrivers();
  if (!ChooseDriver(drivers)) GTEST_SKIP() << "no SQL Server ODBC driver on this machine";
  TADOCommand command(nullptr);
  // Nothing listens on port 1; the connect fails at once.
  command.SetConnectionString(
      L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
      L"Data Source=localhost,1;Connect Timeout=5");
  command.SetCommandText(L"SELECT 1");  // must not throw
  const String message = MessageOf([&] { command.Execute(); });
  EXPECT_NE(message, L"<no error>");
  EXPECT_NE(message.front(), L'[') << "driver prefix left in: " << std::string(message.begin(), message.end());
  EXPECT_FALSE(command.Connected());
}

// Which driver a connect goes through and when the next one is tried, what
// the drivers' diagnostics mean, and the limits of the command's waits: a
// server that accepts the connection and then says nothing.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "db/ADOCommand.h"
#include "db/DriverFallback.h"
#include "db/OdbcConnection.h"
#include "framework/Classes.h"

using kestu::Exception;
using kestu::TADOCommand;
using namespace kestu::db;

namespace {

const String kInstaller = L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False";

// What FreeTDS and the SQL Server drivers report for each kind of failure.
const std::vector<Diagnostic> kFreeTdsRefused{
    {L"08S01", 20009, L"Unable to connect: Adaptive Server is unavailable or does not exist"},
    {L"08001", 0, L"Unable to connect to data source"}};
const std::vector<Diagnostic> kFreeTdsTimedOut{{L"HYT00", 0, L"Timeout expired"},
                                               {L"08001", 0, L"Unable to connect to data source"}};
const std::vector<Diagnostic> kFreeTdsLogin{{L"42000", 18456, L"Login failed for user ''."},
                                            {L"08001", 0, L"Unable to connect to data source"}};
const std::vector<Diagnostic> kDriverLogin{{L"28000", 18456, L"Login failed for user 'x'."}};
const std::vector<Diagnostic> kNoPipe{{L"08001", 53, L"Named Pipes Provider: Could not open a connection"},
                                      {L"HYT00", 0, L"Login timeout expired"}};
const std::vector<Diagnostic> kTooOld{
    {L"08001", 0, L"SQL Server Native Client 11.0 does not support connections to SQL Server 2000"}};
const std::vector<Diagnostic> kNotLoaded{{L"IM003", 0, L"Specified driver could not be loaded"}};

TEST(DriverFallback, FailuresAreTheNetworkTheLoginOrTheDriver) {
  EXPECT_EQ(ClassifyConnectFailure(kFreeTdsRefused), ConnectFailure::Network);
  EXPECT_EQ(ClassifyConnectFailure(kFreeTdsTimedOut), ConnectFailure::Network);
  EXPECT_EQ(ClassifyConnectFailure(kNoPipe), ConnectFailure::Network);
  EXPECT_EQ(ClassifyConnectFailure({{L"01000", 20002, L"Adaptive Server connection failed"}}),
            ConnectFailure::Network);
  EXPECT_EQ(ClassifyConnectFailure(kFreeTdsLogin), ConnectFailure::Login);
  EXPECT_EQ(ClassifyConnectFailure(kDriverLogin), ConnectFailure::Login);
  EXPECT_EQ(ClassifyConnectFailure(kTooOld), ConnectFailure::Other);
  EXPECT_EQ(ClassifyConnectFailure(kNotLoaded), ConnectFailure::Other);
  EXPECT_EQ(ClassifyConnectFailure({}), ConnectFailure::Other);
}

// A machine with these drivers installed, and what each one does.
struct FakeDrivers {
  std::vector<String> tried;
  std::map<String, std::vector<Diagnostic>> failing;
  std::size_t Connect(const std::vector<String>& installed) {
    return ConnectWithFallback(TranslateForInstalledDrivers(kInstaller, installed), [&](const OdbcConnectRequest& r) {
      const String driver = r.connectionString.substr(8, r.connectionString.find(L'}') - 8);
      tried.push_back(driver);
      if (auto it = failing.find(driver); it != failing.end())
        throw EConnectFailed(ErrorText(it->second, L"?"), it->second);
    });
  }
};

TEST(DriverFallback, DriversAreTriedNewestFirstAndTheNextTakesOverFromOneThatRefusesTheServer) {
  const std::vector<String> installed{L"FreeTDS", L"sql server", L"PostgreSQL Unicode",
                                      L"ODBC Driver 17 for SQL Server", L"SQL Server Native Client 11.0"};
  FakeDrivers machine;
  EXPECT_EQ(machine.Connect(installed), 0u);
  EXPECT_EQ(machine.tried, (std::vector<String>{L"ODBC Driver 17 for SQL Server"}));

  machine = {};
  machine.failing[L"ODBC Driver 17 for SQL Server"] = kTooOld;
  machine.failing[L"SQL Server Native Client 11.0"] = kNotLoaded;
  EXPECT_EQ(machine.Connect(installed), 2u);
  EXPECT_EQ(machine.tried, (std::vector<String>{L"ODBC Driver 17 for SQL Server", L"SQL Server Native Client 11.0",
                                                L"SQL Server"}));
}

TEST(DriverFallback, TheNetworkAndTheLoginEndTheAttemptsAndAllRefusingShowsTheFirst) {
  const std::vector<String> installed{L"ODBC Driver 18 for SQL Server", L"SQL Server", L"FreeTDS"};
  FakeDrivers machine;
  machine.failing[L"ODBC Driver 18 for SQL Server"] = kNoPipe;
  EXPECT_THROW(machine.Connect(installed), EConnectFailed);
  EXPECT_EQ(machine.tried.size(), 1u);

  machine = {};
  machine.failing[L"ODBC Driver 18 for SQL Server"] = kTooOld;
  machine.failing[L"SQL Server"] = kDriverLogin;
  try {
    machine.Connect(installed);
    FAIL() << "connected";
  } catch (const EConnectFailed& failure) {
    EXPECT_EQ(failure.Message(), L"Login failed for user 'x'.");  // the real cause, from the second
  }
  EXPECT_EQ(machine.tried.size(), 2u);

  machine = {};
  machine.failing[L"ODBC Driver 18 for SQL Server"] = kTooOld;
  machine.failing[L"SQL Server"] = kNotLoaded;
  machine.failing[L"FreeTDS"] = kNotLoaded;
  try {
    machine.Connect(installed);
    FAIL() << "connected";
  } catch (const EConnectFailed& failure) {
    EXPECT_EQ(failure.Message(), ErrorText(kTooOld, L"?"));
  }
  EXPECT_EQ(machine.tried.size(), 3u);
}

TEST(CommandTimeouts, PublishedWithTheirDefaultsAndNeverNegative) {
  kestu::RegisterClasses<TADOCommand>();
  TADOCommand command(nullptr);
  EXPECT_EQ(command.ConnectionTimeout(), 15);
  EXPECT_EQ(command.CommandTimeout(), 30);
  EXPECT_TRUE(kestu::HasPublishedProperty(&command, "ConnectionTimeout"));
  EXPECT_TRUE(kestu::HasPublishedProperty(&command, "CommandTimeout"));
  kestu::SetOrdProp(&command, "CommandTimeout", 0);
  EXPECT_EQ(command.CommandTimeout(), 0);
  EXPECT_THROW(command.SetConnectionTimeout(-1), Exception);
  EXPECT_THROW(command.SetCommandTimeout(-5), Exception);
  EXPECT_EQ(command.ConnectionTimeout(), 15);
}

// A loopback server that takes connections and never says a word.
class SilentServer {
 public:
  SilentServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 8);
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~SilentServer() {
    closesocket(listener_);
    WSACleanup();
  }
  int Port() const { return port_; }

 private:
  SOCKET listener_;
  int port_ = 0;
};

TEST(CommandTimeouts, AServerThatNeverAnswersTheConnectFailsAfterTheConnectionTimeout) {
  if (!ChooseDriver(InstalledDrivers())) GTEST_SKIP() << "no SQL Server ODBC driver on this machine";
  SilentServer server;  // the system completes the connect; nothing answers the login
  TADOCommand command(nullptr);
  command.SetConnectionTimeout(2);
  command.SetConnectionString(kInstaller + L";Data Source=localhost," + std::to_wstring(server.Port()));
  const auto start = std::chrono::steady_clock::now();
  try {
    command.SetCommandText(L"SELECT 1");
    command.Execute();
    FAIL() << "a silent server took the command";
  } catch (const Exception& failure) {
    EXPECT_EQ(failure.Message(), L"The database server did not answer the connection within 2 seconds");
  }
  // Two connects (the describe on assignment, then the execute), each
  // given up after its two seconds.
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(seconds, 3.5);
  EXPECT_LT(seconds, 15.0);
  EXPECT_FALSE(command.Connected());
}

}  // namespace

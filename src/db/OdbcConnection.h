#pragma once
// A connection to a SQL Server through ODBC (odbc32): connect, run a text
// once and drain its results, describe the markers of a text. Failures are
// thrown as kestu::Exception with the driver's or the server's own text.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/CommandParameters.h"
#include "db/ConnectionString.h"

namespace kestu::db {

// The names of the ODBC drivers installed on this machine.
std::vector<String> InstalledDrivers();

class OdbcConnection {
 public:
  // Connects without prompting, waiting at most the request's login timeout;
  // throws EConnectFailed with the driver's diagnostics on failure.
  explicit OdbcConnection(const OdbcConnectRequest& request);
  ~OdbcConnection();
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  // Seconds a command may wait for the server before it fails (0: no limit).
  void SetQueryTimeout(unsigned seconds) { queryTimeout_ = seconds; }

  // Runs `text` as a command, with no parameters bound, and releases every
  // result it produces unread. Throws on the first error the server sends,
  // and when the server does not answer in time (the connection is then
  // given up).
  void ExecuteDirect(const String& text);

  // Describes the "?" markers of `text` without running it.
  std::vector<TParameter> DescribeParameters(const String& text);

  // False once the link to the server is known to be broken.
  bool Usable() const { return usable_; }

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
  unsigned queryTimeout_ = 0;
  bool usable_ = true;
};

}  // namespace kestu::db

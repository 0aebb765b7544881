#pragma once
// Connecting through the installed drivers in order of preference: a newer
// driver may refuse an older server that an older driver still reaches, so
// a connect that fails for another reason than the network or the login
// moves on to the next driver.

#include <functional>
#include <vector>

#include "db/ConnectionString.h"
#include "db/ServerMessage.h"
#include "framework/Exception.h"

namespace kestu::db {

// A connect that failed, with the driver's diagnostics.
class EConnectFailed : public Exception {
 public:
  EConnectFailed(const String& message, std::vector<Diagnostic> records)
      : Exception(message), records_(std::move(records)) {}
  const std::vector<Diagnostic>& Records() const { return records_; }

 private:
  std::vector<Diagnostic> records_;
};

enum class ConnectFailure {
  Network,  // the server was not reached or did not answer in time
  Login,    // the server refused the login
  Other,    // the driver could not or would not talk to this server
};

// Network: a link failure or timeout (08S01, HYT00, HYT01), a connect refused
// with the system's error number (08001 with a native error), or one of the
// TDS library's own network errors (native 20000-20099). Login: SQLSTATE
// class 28, or the server's login errors (native 18450-18499).
ConnectFailure ClassifyConnectFailure(const std::vector<Diagnostic>& records);

// Calls connect with each request in turn until one returns. A network or
// login failure ends the attempts at once and is thrown as it is: no other
// driver fares better there, and each would wait out its own timeout. When
// every driver fails otherwise, the first one's failure is thrown. Returns
// the index of the request that connected.
std::size_t ConnectWithFallback(const std::vector<OdbcConnectRequest>& requests,
                                const std::function<void(const OdbcConnectRequest&)>& connect);

}  // namespace kestu::db

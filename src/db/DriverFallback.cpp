#include "db/DriverFallback.h"

#include <exception>

namespace kestu::db {

ConnectFailure ClassifyConnectFailure(const std::vector<Diagnostic>& records) {
  bool network = false;
  for (const Diagnostic& record : records) {
    if (record.state.rfind(L"28", 0) == 0 || (record.nativeError >= 18450 && record.nativeError <= 18499))
      return ConnectFailure::Login;
    if (record.state == L"08S01" || record.state == L"HYT00" || record.state == L"HYT01" ||
        (record.state == L"08001" && record.nativeError != 0) ||
        (record.nativeError >= 20000 && record.nativeError <= 20099))
      network = true;
  }
  return network ? ConnectFailure::Network : ConnectFailure::Other;
}

std::size_t ConnectWithFallback(const std::vector<OdbcConnectRequest>& requests,
                                const std::function<void(const OdbcConnectRequest&)>& connect) {
  std::exception_ptr first;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    try {
      connect(requests[i]);
      return i;
    } catch (const EConnectFailed& failure) {
      if (ClassifyConnectFailure(failure.Records()) != ConnectFailure::Other) throw;
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
  throw Exception(L"No SQL Server ODBC driver is installed");
}

}  // namespace kestu::db

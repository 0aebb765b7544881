#include "db/OdbcConnection.h"

#include <windows.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "db/DriverFallback.h"
#include "db/ServerMessage.h"
#include "framework/Exception.h"

namespace kestu::db {

namespace {

// One ODBC handle, freed at scope exit.
class Handle {
 public:
  Handle() = default;
  Handle(SQLSMALLINT type, SQLHANDLE handle) : type_(type), handle_(handle) {}
  ~Handle() { Reset(); }
  Handle(Handle&& other) noexcept : type_(other.type_), handle_(other.handle_) {
    other.handle_ = SQL_NULL_HANDLE;
  }
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      Reset();
      type_ = other.type_;
      handle_ = other.handle_;
      other.handle_ = SQL_NULL_HANDLE;
    }
    return *this;
  }
  SQLHANDLE get() const { return handle_; }
  SQLSMALLINT type() const { return type_; }
  void Reset() {
    if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
    handle_ = SQL_NULL_HANDLE;
  }

 private:
  SQLSMALLINT type_ = 0;
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

std::vector<Diagnostic> ReadDiagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<Diagnostic> records;
  for (SQLSMALLINT number = 1; number < 64; ++number) {
    SQLWCHAR state[6] = {};
    SQLINTEGER nativeError = 0;
    SQLSMALLINT length = 0;
    SQLRETURN result = SQLGetDiagRecW(type, handle, number, state, &nativeError, nullptr, 0, &length);
    if (result == SQL_NO_DATA || !SQL_SUCCEEDED(result)) break;
    std::wstring message(std::size_t(length) + 1, L'\0');
    result = SQLGetDiagRecW(type, handle, number, state, &nativeError,
                            reinterpret_cast<SQLWCHAR*>(message.data()),
                            SQLSMALLINT(message.size()), &length);
    if (!SQL_SUCCEEDED(result)) break;
    message.resize(std::min(std::size_t(length), message.size() - 1));
    records.push_back({reinterpret_cast<const wchar_t*>(state), long(nativeError), message});
  }
  return records;
}

[[noreturn]] void ThrowFrom(const Handle& handle, const wchar_t* call) {
  throw Exception(ErrorText(ReadDiagnostics(handle.type(), handle.get()),
                            String(L"The database driver failed in ") + call));
}

bool TimedOut(const std::vector<Diagnostic>& records) {
  for (const Diagnostic& record : records)
    if (record.state == L"HYT00" || record.state == L"HYT01") return true;
  return false;
}

// The driver's own words for a timeout say nothing of what waited; ours do.
String TimeoutText(const wchar_t* what, unsigned seconds) {
  return String(L"The database server did not answer ") + what + L" within " + std::to_wstring(seconds) +
         (seconds == 1 ? L" second" : L" seconds");
}

// After a timeout or a link failure the connection is not used again.
bool LinkBroken(const std::vector<Diagnostic>& records) {
  for (const Diagnostic& record : records) {
    if (record.state == L"08S01" || record.state == L"08003") return true;
  }
  return TimedOut(records);
}

// The ODBC environment (version 3 behaviour), made on first use and shared:
// every connection holds it, so it outlives them all, also at program exit.
std::shared_ptr<Handle> Environment() {
  static const std::shared_ptr<Handle> environment = [] {
    SQLHANDLE handle = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle))) {
      throw Exception(L"The ODBC driver manager is not available");
    }
    auto owned = std::make_shared<Handle>(SQL_HANDLE_ENV, handle);
    SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    return owned;
  }();
  return environment;
}

Handle AllocateStatement(const Handle& connection) {
  SQLHANDLE statement = SQL_NULL_HANDLE;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection.get(), &statement))) {
    ThrowFrom(connection, L"SQLAllocHandle");
  }
  return Handle(SQL_HANDLE_STMT, statement);
}

SQLWCHAR* Text(String& text) { return reinterpret_cast<SQLWCHAR*>(text.data()); }

}  // namespace

struct OdbcConnection::Handles {
  std::shared_ptr<Handle> environment = Environment();
  Handle connection;
  bool connected = false;
  ~Handles() {
    if (connected) SQLDisconnect(connection.get());
  }
};

std::vector<String> InstalledDrivers() {
  std::vector<String> drivers;
  const std::shared_ptr<Handle> environment = Environment();
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLWCHAR name[256] = {};
    SQLWCHAR attributes[2048] = {};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    const SQLRETURN result = SQLDriversW(environment->get(), direction, name, SQLSMALLINT(std::size(name)),
                                         &nameLength, attributes, SQLSMALLINT(std::size(attributes)),
                                         &attributesLength);
    if (!SQL_SUCCEEDED(result)) break;
    drivers.emplace_back(reinterpret_cast<const wchar_t*>(name));
    direction = SQL_FETCH_NEXT;
  }
  return drivers;
}

OdbcConnection::OdbcConnection(const OdbcConnectRequest& request)
    : handles_(std::make_unique<Handles>()) {
  SQLHANDLE connection = SQL_NULL_HANDLE;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, handles_->environment->get(), &connection))) {
    throw Exception(L"The ODBC driver manager could not make a connection handle");
  }
  handles_->connection = Handle(SQL_HANDLE_DBC, connection);
  if (request.loginTimeoutSeconds) {
    SQLSetConnectAttrW(connection, SQL_ATTR_LOGIN_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(SQLULEN(*request.loginTimeoutSeconds)), 0);
  }
  String text = request.connectionString;
  SQLWCHAR completed[1024] = {};
  SQLSMALLINT completedLength = 0;
  const SQLRETURN result =
      SQLDriverConnectW(connection, nullptr, Text(text), SQLSMALLINT(text.size()), completed,
                        SQLSMALLINT(std::size(completed)), &completedLength, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(result)) {
    std::vector<Diagnostic> records = ReadDiagnostics(SQL_HANDLE_DBC, connection);
    const String text = TimedOut(records) && request.loginTimeoutSeconds
                            ? TimeoutText(L"the connection", *request.loginTimeoutSeconds)
                            : ErrorText(records, L"The database driver failed in SQLDriverConnect");
    throw EConnectFailed(text, std::move(records));
  }
  handles_->connected = true;
}

OdbcConnection::~OdbcConnection() = default;

void OdbcConnection::ExecuteDirect(const String& text) {
  Handle statement = AllocateStatement(handles_->connection);
  SQLSetStmtAttrW(statement.get(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(queryTimeout_)), 0);
  String command = text;
  // A batch may answer with several results; an error in any of them fails
  // the execute. None is read. (A first result of "no rows" may still be
  // followed by others.)
  const auto check = [&](SQLRETURN result, const wchar_t* call) {
    if (SQL_SUCCEEDED(result) || result == SQL_NO_DATA) return;
    const std::vector<Diagnostic> records = ReadDiagnostics(statement.type(), statement.get());
    if (LinkBroken(records)) usable_ = false;
    if (TimedOut(records) && queryTimeout_) throw Exception(TimeoutText(L"the command", queryTimeout_));
    throw Exception(ErrorText(records, String(L"The database driver failed in ") + call));
  };
  check(SQLExecDirectW(statement.get(), Text(command), SQLINTEGER(command.size())),
        L"SQLExecDirect");
  for (SQLRETURN result; (result = SQLMoreResults(statement.get())) != SQL_NO_DATA;) {
    check(result, L"SQLMoreResults");
  }
  SQLFreeStmt(statement.get(), SQL_CLOSE);
}

std::vector<TParameter> OdbcConnection::DescribeParameters(const String& text) {
  Handle statement = AllocateStatement(handles_->connection);
  SQLSetStmtAttrW(statement.get(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(queryTimeout_)), 0);
  String command = text;
  if (!SQL_SUCCEEDED(SQLPrepareW(statement.get(), Text(command), SQLINTEGER(command.size())))) {
    ThrowFrom(statement, L"SQLPrepare");
  }
  SQLSMALLINT count = 0;
  if (!SQL_SUCCEEDED(SQLNumParams(statement.get(), &count))) ThrowFrom(statement, L"SQLNumParams");
  std::vector<TParameter> parameters;
  for (SQLUSMALLINT number = 1; number <= SQLUSMALLINT(count); ++number) {
    TParameter parameter;
    parameter.Name = L"Param" + std::to_wstring(number);
    SQLSMALLINT type = 0;
    SQLULEN size = 0;
    SQLSMALLINT digits = 0;
    SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
    if (SQL_SUCCEEDED(SQLDescribeParam(statement.get(), number, &type, &size, &digits, &nullable))) {
      parameter.DataType = type;
      parameter.Size = size;
      parameter.Nullable = nullable;
    }
    parameters.push_back(std::move(parameter));
  }
  return parameters;
}

}  // namespace kestu::db

#pragma once
// TADOCommand: runs one command text against a SQL Server named by an
// ADO-style connection string, through ODBC. It keeps its own connection,
// opened on first need and reused until the component is freed.

#include <memory>
#include <string>

#include "db/CommandParameters.h"
#include "framework/Classes.h"

namespace kestu {

namespace db {
class OdbcConnection;
}

class TADOCommand : public TComponent {
  KESTU_CLASS(TADOCommand, TComponent)
 public:
  explicit TADOCommand(TComponent* AOwner);
  ~TADOCommand() override;

  const String& ConnectionString() const { return connectionString_; }
  // A changed connection string closes the connection opened with the old one.
  void SetConnectionString(const String& value);

  const String& CommandText() const { return commandText_; }
  // Stores the text and, with ParamCheck, scans it for named parameters; then,
  // when a connection string is set (and the component is not being read from
  // a description), connects and has the driver describe the parameters. Any
  // failure of that second step is swallowed: Execute tries the connection
  // again and reports.
  void SetCommandText(const String& value);

  bool ParamCheck() const { return paramCheck_; }
  void SetParamCheck(bool value) { paramCheck_ = value; }

  db::TParameters& Parameters() { return parameters_; }

  // Seconds a connect may wait for the server (the connection string's
  // "Connect Timeout" wins when it names one) and a command for its answer;
  // 0 waits without limit. Negative values are refused.
  int ConnectionTimeout() const { return connectionTimeout_; }
  void SetConnectionTimeout(int value);
  int CommandTimeout() const { return commandTimeout_; }
  void SetCommandTimeout(int value);

  // Runs the command text once, binding no parameters, and releases any
  // result unread. Throws kestu::Exception with the server's text on failure.
  // The connection goes through the first installed SQL Server driver that
  // will take it (DriverFallback.h).
  void Execute();

  bool Connected() const;

 private:
  db::OdbcConnection& Connection();
  std::vector<db::TParameter> DescribeParameters();

  String connectionString_;
  String commandText_;
  String driverText_;  // the command text as the driver gets it
  std::vector<String> parameterNames_;
  bool paramCheck_ = true;
  int connectionTimeout_ = 15;
  int commandTimeout_ = 30;
  db::TParameters parameters_;
  std::unique_ptr<db::OdbcConnection> connection_;
};

}  // namespace kestu

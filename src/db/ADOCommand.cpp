#include "db/ADOCommand.h"

#include "db/ConnectionString.h"
#include "db/DriverFallback.h"
#include "db/OdbcConnection.h"
#include "framework/Exception.h"

namespace kestu {

KESTU_PUBLISH(TADOCommand) {
  p.Str("ConnectionString", &TADOCommand::ConnectionString, &TADOCommand::SetConnectionString);
  p.Str("CommandText", &TADOCommand::CommandText, &TADOCommand::SetCommandText);
  p.Bool("ParamCheck", &TADOCommand::ParamCheck, &TADOCommand::SetParamCheck, true);
  p.Int("CommandTimeout", &TADOCommand::CommandTimeout, &TADOCommand::SetCommandTimeout, 30);
  p.Int("ConnectionTimeout", &TADOCommand::ConnectionTimeout, &TADOCommand::SetConnectionTimeout, 15);
}

TADOCommand::TADOCommand(TComponent* AOwner)
    : TComponent(AOwner), parameters_([this] { return DescribeParameters(); }) {}

TADOCommand::~TADOCommand() = default;

void TADOCommand::SetConnectionString(const String& value) {
  if (value == connectionString_) return;
  connectionString_ = value;
  connection_.reset();
}

// Every assignment, the same text included, is scanned again and, while no
// connection is open, connects and describes again: a press of the installer's
// button after a failed connect repeats the whole sequence.
void TADOCommand::SetCommandText(const String& value) {
  commandText_ = value;
  parameterNames_.clear();
  driverText_ = value;
  if (paramCheck_) {
    db::ParsedCommandText parsed = db::ParseCommandText(value);
    driverText_ = std::move(parsed.driverText);
    parameterNames_ = std::move(parsed.names);
  }
  // One parameter per marker, in order: the driver binds them by position.
  std::vector<db::TParameter> named;
  for (const String& name : parameterNames_) named.push_back({name});
  parameters_.Assign(std::move(named));
  if (!paramCheck_ || connectionString_.empty() || HasState(csLoading)) return;
  try {
    parameters_.Refresh();
  } catch (const Exception&) {
    // Execute connects again and reports the failure.
  }
}

void TADOCommand::SetConnectionTimeout(int value) {
  if (value < 0) throw Exception(L"ConnectionTimeout cannot be negative");
  connectionTimeout_ = value;
}

void TADOCommand::SetCommandTimeout(int value) {
  if (value < 0) throw Exception(L"CommandTimeout cannot be negative");
  commandTimeout_ = value;
}

bool TADOCommand::Connected() const { return connection_ && connection_->Usable(); }

db::OdbcConnection& TADOCommand::Connection() {
  if (connection_ && !connection_->Usable()) connection_.reset();
  if (!connection_) {
    if (connectionString_.empty()) throw Exception(L"Missing Connection or ConnectionString");
    std::vector<db::OdbcConnectRequest> requests =
        db::TranslateForInstalledDrivers(connectionString_, db::InstalledDrivers());
    for (db::OdbcConnectRequest& request : requests)
      if (!request.loginTimeoutSeconds) request.loginTimeoutSeconds = unsigned(connectionTimeout_);
    db::ConnectWithFallback(requests, [this](const db::OdbcConnectRequest& request) {
      connection_ = std::make_unique<db::OdbcConnection>(request);
    });
  }
  connection_->SetQueryTimeout(unsigned(commandTimeout_));
  return *connection_;
}

std::vector<db::TParameter> TADOCommand::DescribeParameters() {
  std::vector<db::TParameter> described = Connection().DescribeParameters(driverText_);
  // The driver numbers the markers; the names are those written in the text.
  for (std::size_t i = 0; i < described.size() && i < parameterNames_.size(); ++i) {
    described[i].Name = parameterNames_[i];
  }
  return described;
}

void TADOCommand::Execute() {
  if (commandText_.empty()) throw Exception(L"Missing CommandText property");
  Connection().ExecuteDirect(driverText_);
}

}  // namespace kestu

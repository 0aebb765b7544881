#include "db/ADOCommand.h"

#include "db/ConnectionString.h"
#include "db/OdbcConnection.h"
#include "framework/Exception.h"

namespace kestu {

KESTU_PUBLISH(TADOCommand) {
  p.Str("ConnectionString", &TADOCommand::ConnectionString, &TADOCommand::SetConnectionString);
  p.Str("CommandText", &TADOCommand::CommandText, &TADOCommand::SetCommandText);
  p.Bool("ParamCheck", &TADOCommand::ParamCheck, &TADOCommand::SetParamCheck, true);
}

TADOCommand::TADOCommand(TComponent* AOwner)
    : TComponent(AOwner), parameters_([this] { return DescribeParameters(); }) {}

TADOCommand::~TADOCommand() = default;

void TADOCommand::SetConnectionString(const String& value) {
  if (value == connectionString_) return;
  connectionString_ = value;
  connection_.reset();
}

void TADOCommand::SetCommandText(const String& value) {
  if (value == commandText_) return;
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

bool TADOCommand::Connected() const { return connection_ && connection_->Usable(); }

db::OdbcConnection& TADOCommand::Connection() {
  if (connection_ && !connection_->Usable()) connection_.reset();
  if (!connection_) {
    if (connectionString_.empty()) throw Exception(L"Missing Connection or ConnectionString");
    const db::OdbcConnectRequest request =
        db::TranslateConnectionString(connectionString_, db::InstalledDrivers());
    connection_ = std::make_unique<db::OdbcConnection>(request);
  }
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

#pragma once
// Connection strings: the ADO-style text stored in a command component
// ("Provider=SQLOLEDB.1;Integrated Security=SSPI;...") and its translation into
// the connection string of an installed SQL Server ODBC driver. Pure text
// work; the list of installed drivers is passed in.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestu::db {

using String = std::wstring;

// One "key=value" pair as written, keys and values with the quoting removed.
struct ConnectionProperty {
  String key;
  String value;
};

// Splits an ADO-style connection string into its properties, in order.
// Pairs are separated by ";"; blanks around keys and values are dropped; a
// value may be enclosed in double or single quotes, inside which the same
// quote written twice stands for itself; "==" in a key stands for "=".
// Throws kestu::Exception for a pair without "=" or an unterminated quote.
std::vector<ConnectionProperty> ParseConnectionString(const String& text);

// The value of the last property named `key` (compared without regard to
// case), if any.
std::optional<String> FindProperty(const std::vector<ConnectionProperty>& properties,
                                   const String& key);

// SQL Server ODBC drivers in order of preference.
const std::vector<String>& PreferredDrivers();

// The first preferred driver present in `installed` (names compared without
// regard to case), spelled as the preference list spells it.
std::optional<String> ChooseDriver(const std::vector<String>& installed);

// What an ODBC connect needs: the driver's connection string and the login
// timeout in seconds (nullopt: the driver's default).
struct OdbcConnectRequest {
  String connectionString;
  std::optional<unsigned> loginTimeoutSeconds;
};

// Translates an ADO-style connection string for the SQL Server provider into
// ODBC connect requests, one for each installed preferred driver in order of
// preference: the connects to try one after the other. Only the integrated
// login of the current user is supported: a user name or password in the
// text is refused, never passed on. A missing "Data Source" means the local
// default instance; "host,port" names a port. Throws kestu::Exception for
// anything it cannot translate faithfully and when no such driver is
// installed.
std::vector<OdbcConnectRequest> TranslateForInstalledDrivers(const String& adoText,
                                                             const std::vector<String>& installedDrivers);
// The request for the first of them.
OdbcConnectRequest TranslateConnectionString(const String& adoText,
                                             const std::vector<String>& installedDrivers);

// Writes one ODBC attribute value, braced when the plain form would be
// misread (";", braces, "=" or surrounding blanks).
String QuoteOdbcValue(const String& value);

}  // namespace kestu::db

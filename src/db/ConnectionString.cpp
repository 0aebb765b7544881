#include "db/ConnectionString.h"

#include <cwctype>

#include "framework/Exception.h"

namespace kestu::db {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

String Trim(const String& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool EqualsNoCase(const String& a, const String& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

bool IsOneOf(const String& key, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* name : names) {
    if (EqualsNoCase(key, name)) return true;
  }
  return false;
}

[[noreturn]] void Malformed(const String& text, std::size_t at) {
  throw Exception(L"The connection string is malformed at position " + std::to_wstring(at + 1) +
                  L": " + text);
}

// Reads a key up to its "=", turning "==" into "=". Returns the position
// after the "=".
std::size_t ReadKey(const String& text, std::size_t at, String& key) {
  while (at < text.size()) {
    const wchar_t c = text[at];
    if (c == L'=') {
      if (at + 1 < text.size() && text[at + 1] == L'=') {
        key += L'=';
        at += 2;
        continue;
      }
      return at + 1;
    }
    if (c == L';') break;
    key += c;
    ++at;
  }
  Malformed(text, at);
}

// Reads a value, quoted or plain, up to the ";" that ends the pair. Returns
// the position after that ";" (or the end).
std::size_t ReadValue(const String& text, std::size_t at, String& value) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  if (at < text.size() && (text[at] == L'"' || text[at] == L'\'')) {
    const wchar_t quote = text[at];
    const std::size_t opening = at++;
    for (;;) {
      if (at >= text.size()) Malformed(text, opening);
      if (text[at] == quote) {
        if (at + 1 < text.size() && text[at + 1] == quote) {
          value += quote;
          at += 2;
          continue;
        }
        ++at;
        break;
      }
      value += text[at++];
    }
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at < text.size() && text[at] != L';') Malformed(text, at);
    return at + 1;
  }
  const std::size_t end = text.find(L';', at);
  value = Trim(text.substr(at, end == String::npos ? String::npos : end - at));
  return end == String::npos ? text.size() : end + 1;
}

struct DataSource {
  String host;  // empty: the local default instance
  String port;  // empty: the driver's default
};

DataSource SplitDataSource(const String& text) {
  DataSource source;
  String host = text;
  const std::size_t comma = text.rfind(L',');
  if (comma != String::npos) {
    source.port = Trim(text.substr(comma + 1));
    host = text.substr(0, comma);
    if (source.port.empty()) throw Exception(L"The Data Source \"" + text + L"\" names no port");
    for (wchar_t c : source.port) {
      if (c < L'0' || c > L'9') throw Exception(L"The Data Source \"" + text + L"\" has a bad port");
    }
  }
  source.host = Trim(host);
  return source;
}

unsigned ParseTimeout(const String& text) {
  if (text.empty() || text.size() > 6) throw Exception(L"Bad Connect Timeout: " + text);
  unsigned seconds = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') throw Exception(L"Bad Connect Timeout: " + text);
    seconds = seconds * 10 + unsigned(c - L'0');
  }
  return seconds;
}

}  // namespace

std::vector<ConnectionProperty> ParseConnectionString(const String& text) {
  std::vector<ConnectionProperty> properties;
  std::size_t at = 0;
  while (at < text.size()) {
    if (IsBlank(text[at]) || text[at] == L';') {
      ++at;
      continue;
    }
    ConnectionProperty property;
    at = ReadKey(text, at, property.key);
    property.key = Trim(property.key);
    if (property.key.empty()) Malformed(text, at - 1);
    at = ReadValue(text, at, property.value);
    properties.push_back(std::move(property));
  }
  return properties;
}

std::optional<String> FindProperty(const std::vector<ConnectionProperty>& properties,
                                   const String& key) {
  std::optional<String> found;
  for (const ConnectionProperty& property : properties) {
    if (EqualsNoCase(property.key, key)) found = property.value;
  }
  return found;
}

const std::vector<String>& PreferredDrivers() {
  static const std::vector<String> drivers{
      L"ODBC Driver 18 for SQL Server", L"ODBC Driver 17 for SQL Server",
      L"SQL Server Native Client 11.0", L"SQL Server", L"FreeTDS"};
  return drivers;
}

std::optional<String> ChooseDriver(const std::vector<String>& installed) {
  for (const String& preferred : PreferredDrivers()) {
    for (const String& name : installed) {
      if (EqualsNoCase(name, preferred)) return preferred;
    }
  }
  return std::nullopt;
}

String QuoteOdbcValue(const String& value) {
  const bool plain = value.find_first_of(L";{}=") == String::npos &&
                     (value.empty() || (!IsBlank(value.front()) && !IsBlank(value.back())));
  if (plain) return value;
  String quoted = L"{";
  for (wchar_t c : value) {
    quoted += c;
    if (c == L'}') quoted += L'}';
  }
  return quoted + L"}";
}

namespace {

struct AdoProperties {
  String dataSource;
  String catalog;
  std::optional<unsigned> timeout;
};

AdoProperties ReadAdoProperties(const String& adoText) {
  AdoProperties ado;
  bool integrated = false;
  for (const ConnectionProperty& property : ParseConnectionString(adoText)) {
    const String& key = property.key;
    const String& value = property.value;
    if (IsOneOf(key, {L"Provider"})) {
      if (!IsOneOf(value, {L"SQLOLEDB", L"SQLOLEDB.1"})) {
        throw Exception(L"The provider \"" + value + L"\" is not supported");
      }
    } else if (IsOneOf(key, {L"Data Source", L"Server", L"Address", L"Addr",
                             L"Network Address"})) {
      ado.dataSource = value;
    } else if (IsOneOf(key, {L"Initial Catalog", L"Database"})) {
      ado.catalog = value;
    } else if (IsOneOf(key, {L"Integrated Security", L"Trusted_Connection"})) {
      integrated = IsOneOf(value, {L"SSPI", L"True", L"Yes"});
    } else if (IsOneOf(key, {L"Persist Security Info"})) {
      // Only says whether a provider may hand a password back; there is none.
    } else if (IsOneOf(key, {L"Connect Timeout", L"Connection Timeout"})) {
      ado.timeout = ParseTimeout(value);
    } else if (IsOneOf(key, {L"User ID", L"UID", L"User", L"Password", L"PWD"})) {
      throw Exception(L"Stored credentials are not supported; use Integrated Security=SSPI");
    } else {
      throw Exception(L"The connection string property \"" + key + L"\" is not supported");
    }
  }
  if (!integrated) {
    throw Exception(L"Only the integrated login is supported; use Integrated Security=SSPI");
  }
  return ado;
}

OdbcConnectRequest RequestFor(const String& driver, const AdoProperties& ado) {
  const bool freeTds = driver == L"FreeTDS";
  const DataSource source = SplitDataSource(ado.dataSource);
  String odbc = L"Driver={" + driver + L"}";
  if (freeTds) {
    // FreeTDS takes the port as an attribute of its own, knows no name for
    // the local default instance but the host itself, and finds no port of
    // its own: the default instance listens on 1433. (Its TDSPORT environment
    // variable still overrides.) The protocol version is named: left to
    // guess, it tries an older protocol after the first has timed out,
    // waiting longer than the login timeout; servers of every age answer
    // this one with the version they speak.
    const bool local = source.host.empty() || source.host == L"." ||
                       EqualsNoCase(source.host, L"(local)");
    odbc += L";Server=" + QuoteOdbcValue(local ? L"localhost" : source.host);
    odbc += L";Port=" + (source.port.empty() ? String(L"1433") : source.port);
    odbc += L";TDS_Version=7.4";
  } else {
    const String host = source.host.empty() ? L"(local)" : source.host;
    odbc += L";Server=" + QuoteOdbcValue(source.port.empty() ? host : host + L"," + source.port);
  }
  if (!ado.catalog.empty()) odbc += L";Database=" + QuoteOdbcValue(ado.catalog);
  odbc += L";Trusted_Connection=Yes";
  // Version 18 refuses servers without a trusted certificate by default; the
  // provider the stored strings name never asked for encryption.
  if (driver == L"ODBC Driver 18 for SQL Server") odbc += L";Encrypt=Optional";
  return {odbc, ado.timeout};
}

}  // namespace

std::vector<OdbcConnectRequest> TranslateForInstalledDrivers(const String& adoText,
                                                             const std::vector<String>& installedDrivers) {
  const AdoProperties ado = ReadAdoProperties(adoText);
  std::vector<OdbcConnectRequest> requests;
  for (const String& preferred : PreferredDrivers()) {
    for (const String& name : installedDrivers) {
      if (EqualsNoCase(name, preferred)) {
        requests.push_back(RequestFor(preferred, ado));
        break;
      }
    }
  }
  if (requests.empty()) {
    String wanted;
    for (const String& name : PreferredDrivers()) wanted += (wanted.empty() ? L"" : L", ") + name;
    throw Exception(L"No SQL Server ODBC driver is installed (looked for " + wanted + L")");
  }
  return requests;
}

OdbcConnectRequest TranslateConnectionString(const String& adoText,
                                             const std::vector<String>& installedDrivers) {
  return TranslateForInstalledDrivers(adoText, installedDrivers).front();
}

}  // namespace kestu::db

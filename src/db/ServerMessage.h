#pragma once
// Turning driver diagnostics into the text the user sees.

#include <string>
#include <vector>

namespace kestu::db {

using String = std::wstring;

// One diagnostic record of a driver call.
struct Diagnostic {
  String state;  // five-character SQLSTATE
  long nativeError = 0;
  String message;
};

// The message without the bracketed component prefixes drivers put in front
// ("[FreeTDS][SQL Server]…", "[Microsoft][ODBC SQL Server Driver][SQL Server]…")
// and without trailing line breaks.
String CleanServerMessage(const String& message);

// The text for a failed call: the first error record's cleaned message
// (records of class "01", warnings and informational messages, are passed
// over while an error follows), or `fallback` when there is none.
String ErrorText(const std::vector<Diagnostic>& records, const String& fallback);

}  // namespace kestu::db

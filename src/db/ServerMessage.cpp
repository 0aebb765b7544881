#include "db/ServerMessage.h"

namespace kestu::db {

String CleanServerMessage(const String& message) {
  std::size_t at = 0;
  while (at < message.size() && message[at] == L'[') {
    const std::size_t close = message.find(L']', at);
    if (close == String::npos) break;
    at = close + 1;
  }
  std::size_t end = message.size();
  while (end > at && (message[end - 1] == L'\n' || message[end - 1] == L'\r')) --end;
  return message.substr(at, end - at);
}

String ErrorText(const std::vector<Diagnostic>& records, const String& fallback) {
  const Diagnostic* chosen = nullptr;
  for (const Diagnostic& record : records) {
    if (record.message.empty()) continue;
    if (record.state.rfind(L"01", 0) != 0) {
      chosen = &record;
      break;
    }
    if (!chosen) chosen = &record;
  }
  if (!chosen) return fallback;
  const String text = CleanServerMessage(chosen->message);
  return text.empty() ? fallback : text;
}

}  // namespace kestu::db

#include "db/CommandParameters.h"

#include <cwctype>

namespace kestu::db {

namespace {

bool IsNameCharacter(wchar_t c) {
  if (c <= L' ') return false;
  return String(L",;()=<>+-*/%|&!^~'\"[]:.").find(c) == String::npos;
}

}  // namespace

ParsedCommandText ParseCommandText(const String& text) {
  ParsedCommandText parsed;
  parsed.driverText.reserve(text.size());
  wchar_t quote = 0;  // the quote of the literal we are in, or 0
  std::size_t at = 0;
  while (at < text.size()) {
    const wchar_t c = text[at];
    if (quote != 0) {
      if (c == quote) quote = 0;  // a doubled quote closes and reopens
      parsed.driverText += c;
      ++at;
    } else if (c == L'\'' || c == L'"') {
      quote = c;
      parsed.driverText += c;
      ++at;
    } else if (c == L':' && at + 1 < text.size() && text[at + 1] == L':') {
      parsed.driverText += L':';
      at += 2;
    } else if (c == L':' && at + 1 < text.size() && IsNameCharacter(text[at + 1])) {
      std::size_t end = at + 1;
      while (end < text.size() && IsNameCharacter(text[end])) ++end;
      parsed.names.push_back(text.substr(at + 1, end - at - 1));
      parsed.driverText += L'?';
      at = end;
    } else {
      parsed.driverText += c;
      ++at;
    }
  }
  return parsed;
}

const TParameter* TParameters::FindParam(const String& name) const {
  for (const TParameter& item : items_) {
    if (item.Name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      same = std::towlower(item.Name[i]) == std::towlower(name[i]);
    }
    if (same) return &item;
  }
  return nullptr;
}

}  // namespace kestu::db

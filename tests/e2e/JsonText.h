#pragma once
// Wide texts as the end-to-end helper programs print them: UTF-8, and JSON
// strings with quotes, backslashes and control characters escaped.
#include <windows.h>

#include <cstdio>
#include <string>

namespace kestu::e2e {

inline std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(std::size_t(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), length, nullptr, nullptr);
  return out;
}

inline std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (char c : Utf8(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(static_cast<unsigned char>(c)));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace kestu::e2e

#pragma once
// The framework's error types. Every failure the program reports is an
// Exception carrying a Unicode message; EAbort is the silent kind that the
// message loop drops without a box.

#include <exception>
#include <string>

namespace kestu {

using String = std::wstring;

class Exception : public std::exception {
 public:
  explicit Exception(String message) : message_(std::move(message)) {}
  const String& Message() const { return message_; }
  // Narrow text for std::exception users (tests, logs); UTF-8.
  const char* what() const noexcept override;

 private:
  String message_;
  mutable std::string narrow_;
};

class EAbort : public Exception {
 public:
  EAbort() : Exception(L"Operation aborted") {}
};

}  // namespace kestu

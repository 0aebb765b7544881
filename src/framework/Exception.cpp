#include "framework/Exception.h"

#include <windows.h>

namespace kestu {

const char* Exception::what() const noexcept {
  if (narrow_.empty() && !message_.empty()) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, message_.data(), int(message_.size()),
                                           nullptr, 0, nullptr, nullptr);
    narrow_.assign(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, message_.data(), int(message_.size()), narrow_.data(),
                        length, nullptr, nullptr);
  }
  return narrow_.c_str();
}

}  // namespace kestu

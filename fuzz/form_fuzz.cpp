// Feeds arbitrary bytes to the form-description parser: it must either build
// a tree or throw FormSyntaxError, never crash, hang or read out of bounds.
#include "base/FormText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    kestu::FormObject root = kestu::ParseForm(
        std::string_view(reinterpret_cast<const char*>(data), size));
    (void)root;
  } catch (const kestu::FormSyntaxError&) {
  }
  return 0;
}

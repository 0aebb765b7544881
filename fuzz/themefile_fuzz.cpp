// Feeds arbitrary bytes to the theme-file reader: it must either accept the
// file or throw ThemeFileError, never crash, hang, read out of bounds or grow
// without limit. Accepted files answer every element reader.
#include "themekit/core/StyleTables.h"
#include "themekit/core/ThemeFileData.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const kestu::ThemeFileData theme = kestu::ThemeFileData::Parse(std::vector<std::uint8_t>(data, data + size));
    std::uint32_t sink = 0;
    for (int index = 0; index <= kestu::kStyleElementCount + 1; ++index) {
      if (const auto bitmap = kestu::ThemeElementBitmap(&theme, index); bitmap && !bitmap->empty())
        sink += bitmap->front() + bitmap->back();
      sink += kestu::ThemeElementBoolean(&theme, index) ? 1u : 0u;
      sink += kestu::ThemeElementColour(&theme, index);
      sink += std::uint32_t(kestu::ThemeElementInteger(&theme, index));
    }
    if (const auto text = theme.String("Caption"); text && !text->empty()) sink += std::uint8_t(text->front());
    volatile std::uint32_t keep = sink;
    (void)keep;
  } catch (const kestu::ThemeFileError&) {
  }
  return 0;
}

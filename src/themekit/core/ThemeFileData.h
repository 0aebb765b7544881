#pragma once
// Theme files of the toolkit, parsed from memory: a header and a chain of
// 77-byte entry records naming bitmaps, integers, booleans and strings.
// All integers are little-endian and every offset is absolute.
//
//   header (24 bytes)       entry record (77 bytes)
//    0  12 not read           0  64 name, ended by the first zero byte
//   12   4 header length 24  64   1 type: 0 bitmap, 1 integer, 2 boolean, 3 string
//   16   4 not read          65   4 data offset
//   20   4 first record      69   4 data size
//                            73   4 next record; 0 ends the chain
//
// The record whose next offset is 0 ends the chain and is not loaded itself.
// Records of any other type are skipped. Integers and booleans are kept as
// "name=value" text lines, as the readers look them up by the part before the
// first equals sign; bitmap and string entries refer to their bytes in the
// file, which the data keeps.
//
// Parse rejects, with ThemeFileError, what the format cannot mean: a file
// shorter than its header, a header length other than 24, a record or its
// data reaching past the end of the file, an integer entry whose size is not
// 4 or a boolean entry whose size is not 1, a chain that comes back to a
// record it has already passed, and more than kThemeFileMaxRecords records.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestu {

class ThemeFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::uint32_t kThemeHeaderLength = 24;
inline constexpr std::uint32_t kThemeRecordSize = 77;
inline constexpr std::size_t kThemeNameSize = 64;
// Limits of what a reader accepts; a real theme holds 42 entries and a few
// hundred kilobytes of images. The Windows side checks the size before it
// reads a file into memory.
inline constexpr std::size_t kThemeFileMaxSize = std::size_t(64) << 20;
inline constexpr std::size_t kThemeFileMaxRecords = 65536;

enum class ThemeEntryType : std::uint8_t { Bitmap = 0, Integer = 1, Boolean = 2, String = 3 };

class ThemeFileData {
 public:
  // Reads a whole theme file; throws ThemeFileError when it is rejected.
  static ThemeFileData Parse(std::vector<std::uint8_t> file);

  // Lookups by entry name, ignoring ASCII case; the first matching entry in
  // chain order answers.
  // The bitmap file stored under the name, or nothing.
  std::optional<std::span<const std::uint8_t>> BitmapBytes(std::string_view name) const;
  // The boolean entry's byte; false when missing or not a number. Any
  // non-zero value is true.
  bool Boolean(std::string_view name) const;
  // The integer entry's value; -1 when missing, empty or not a number.
  std::int32_t Integer(std::string_view name) const;
  // The string entry's bytes, or nothing.
  std::optional<std::string_view> String(std::string_view name) const;

  std::size_t BitmapCount() const { return bitmaps_.size(); }
  std::size_t StringCount() const { return strings_.size(); }
  const std::vector<std::string>& IntegerLines() const { return integers_; }
  const std::vector<std::string>& BooleanLines() const { return booleans_; }

 private:
  struct Block {
    std::string Name;
    std::uint32_t Offset = 0;
    std::uint32_t Size = 0;
  };
  std::span<const std::uint8_t> Bytes(const Block& block) const;
  static const Block* FindBlock(const std::vector<Block>& blocks, std::string_view name);

  std::vector<std::uint8_t> file_;
  std::vector<Block> bitmaps_;
  std::vector<std::string> integers_;  // "name=value"
  std::vector<std::string> booleans_;  // "name=value", value 0..255
  std::vector<Block> strings_;
};

// The element readers of the theme-file manager (element numbers 1..42 of
// the style tables, looked up by element name). `theme` is the loaded file,
// or nullptr when the manager has none. An element number outside 1..42 is a
// missing entry.
//   bitmap:  the stored bitmap file; nothing when missing or without a file
//   boolean: false when missing or without a file
//   colour, integer: the integer entry (a colour is stored as its $00BBGGRR
//            value); -1 ($FFFFFFFF as a colour) when missing, 0 without a file
std::optional<std::span<const std::uint8_t>> ThemeElementBitmap(const ThemeFileData* theme, int index);
bool ThemeElementBoolean(const ThemeFileData* theme, int index);
std::uint32_t ThemeElementColour(const ThemeFileData* theme, int index);
std::int32_t ThemeElementInteger(const ThemeFileData* theme, int index);

}  // namespace kestu

#include "themekit/core/ThemeFileData.h"

#include "base/TextUtil.h"
#include "themekit/core/StyleTables.h"

#include <charconv>
#include <unordered_set>

namespace kestu {
namespace {

std::uint32_t ReadU32(const std::vector<std::uint8_t>& file, std::size_t at) {
  return std::uint32_t(file[at]) | std::uint32_t(file[at + 1]) << 8 | std::uint32_t(file[at + 2]) << 16 |
         std::uint32_t(file[at + 3]) << 24;
}

// True when `size` bytes from `offset` lie inside the file.
bool Fits(const std::vector<std::uint8_t>& file, std::uint32_t offset, std::uint32_t size) {
  return offset <= file.size() && size <= file.size() - offset;
}

std::string Hex(std::uint32_t v) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s = "$";
  for (int shift = 28; shift >= 0; shift -= 4) s += digits[(v >> shift) & 0xF];
  return s;
}

[[noreturn]] void Reject(const std::string& why) { throw ThemeFileError("Invalid theme file: " + why); }

struct EntryRecord {
  std::string Name;
  std::uint8_t Type = 0;
  std::uint32_t DataOffset = 0;
  std::uint32_t DataSize = 0;
  std::uint32_t Next = 0;
};

EntryRecord ReadRecord(const std::vector<std::uint8_t>& file, std::uint32_t at) {
  if (!Fits(file, at, kThemeRecordSize)) Reject("the entry record at " + Hex(at) + " lies past the end of the file");
  EntryRecord record;
  const char* name = reinterpret_cast<const char*>(file.data() + at);
  std::size_t length = 0;
  while (length < kThemeNameSize && name[length] != '\0') ++length;
  record.Name.assign(name, length);
  record.Type = file[at + 64];
  record.DataOffset = ReadU32(file, at + 65);
  record.DataSize = ReadU32(file, at + 69);
  record.Next = ReadU32(file, at + 73);
  return record;
}

// The value part of the first "name=value" line whose name part equals
// `name` (ignoring case), as a decimal number.
std::optional<std::int32_t> LineValue(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    const std::string_view text(line);
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos || !SameText(text.substr(0, eq), name)) continue;
    const std::string_view value = text.substr(eq + 1);
    std::int32_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size()) return std::nullopt;
    return number;
  }
  return std::nullopt;
}

}  // namespace

ThemeFileData ThemeFileData::Parse(std::vector<std::uint8_t> file) {
  if (file.size() > kThemeFileMaxSize)
    Reject("the file is larger than " + std::to_string(kThemeFileMaxSize) + " bytes");
  if (file.size() < 16) Reject("the file is too short for a header");
  const std::uint32_t headerLength = ReadU32(file, 12);
  if (headerLength != kThemeHeaderLength)
    Reject("the header length is " + std::to_string(headerLength) + ", not " + std::to_string(kThemeHeaderLength));
  if (!Fits(file, 0, headerLength)) Reject("the file is too short for a header");

  ThemeFileData data;
  data.file_ = std::move(file);
  const std::vector<std::uint8_t>& bytes = data.file_;

  std::unordered_set<std::uint32_t> passed;
  std::uint32_t at = ReadU32(bytes, 20);
  for (EntryRecord record = ReadRecord(bytes, at); record.Next != 0; record = ReadRecord(bytes, at)) {
    if (!passed.insert(at).second) Reject("the entry chain comes back to the record at " + Hex(at));
    if (passed.size() > kThemeFileMaxRecords)
      Reject("the file holds more than " + std::to_string(kThemeFileMaxRecords) + " entries");

    const auto needData = [&](std::uint32_t size) {
      if (!Fits(bytes, record.DataOffset, size))
        Reject("the data of entry \"" + record.Name + "\" lies past the end of the file");
    };
    switch (static_cast<ThemeEntryType>(record.Type)) {
      case ThemeEntryType::Bitmap:
        needData(record.DataSize);
        data.bitmaps_.push_back({record.Name, record.DataOffset, record.DataSize});
        break;
      case ThemeEntryType::Integer: {
        if (record.DataSize != 4) Reject("integer entry \"" + record.Name + "\" is not 4 bytes long");
        needData(4);
        const auto value = static_cast<std::int32_t>(ReadU32(bytes, record.DataOffset));
        data.integers_.push_back(record.Name + "=" + std::to_string(value));
        break;
      }
      case ThemeEntryType::Boolean:
        if (record.DataSize != 1) Reject("boolean entry \"" + record.Name + "\" is not 1 byte long");
        needData(1);
        data.booleans_.push_back(record.Name + "=" + std::to_string(bytes[record.DataOffset]));
        break;
      case ThemeEntryType::String:
        needData(record.DataSize);
        data.strings_.push_back({record.Name, record.DataOffset, record.DataSize});
        break;
      default:  // unknown types are skipped
        break;
    }
    at = record.Next;
  }
  return data;
}

std::span<const std::uint8_t> ThemeFileData::Bytes(const Block& block) const {
  return std::span<const std::uint8_t>(file_).subspan(block.Offset, block.Size);
}

const ThemeFileData::Block* ThemeFileData::FindBlock(const std::vector<Block>& blocks, std::string_view name) {
  for (const Block& block : blocks)
    if (SameText(block.Name, name)) return &block;
  return nullptr;
}

std::optional<std::span<const std::uint8_t>> ThemeFileData::BitmapBytes(std::string_view name) const {
  if (const Block* block = FindBlock(bitmaps_, name)) return Bytes(*block);
  return std::nullopt;
}

bool ThemeFileData::Boolean(std::string_view name) const { return LineValue(booleans_, name).value_or(0) != 0; }

std::int32_t ThemeFileData::Integer(std::string_view name) const { return LineValue(integers_, name).value_or(-1); }

std::optional<std::string_view> ThemeFileData::String(std::string_view name) const {
  if (const Block* block = FindBlock(strings_, name)) {
    const std::span<const std::uint8_t> bytes = Bytes(*block);
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  return std::nullopt;
}

std::optional<std::span<const std::uint8_t>> ThemeElementBitmap(const ThemeFileData* theme, int index) {
  if (theme == nullptr || ElementName(index).empty()) return std::nullopt;
  return theme->BitmapBytes(ElementName(index));
}

bool ThemeElementBoolean(const ThemeFileData* theme, int index) {
  if (theme == nullptr || ElementName(index).empty()) return false;
  return theme->Boolean(ElementName(index));
}

std::int32_t ThemeElementInteger(const ThemeFileData* theme, int index) {
  if (theme == nullptr) return 0;
  if (ElementName(index).empty()) return -1;
  return theme->Integer(ElementName(index));
}

std::uint32_t ThemeElementColour(const ThemeFileData* theme, int index) {
  return static_cast<std::uint32_t>(ThemeElementInteger(theme, index));
}

}  // namespace kestu

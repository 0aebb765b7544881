#include "themekit/core/StyleTables.h"
#include "themekit/core/ThemeFileData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestu {
namespace {

using E = TsuiElement;
using Bytes = std::vector<std::uint8_t>;

// Writes theme files byte by byte: a 24-byte header, then data blocks and
// 77-byte records appended in any order the test wants.
class ThemeWriter {
 public:
  ThemeWriter() : bytes_(24, 0xAB) {
    PutU32(12, 24);
    PutU32(20, 0);
  }

  void PutU32(std::size_t at, std::uint32_t v) {
    if (bytes_.size() < at + 4) bytes_.resize(at + 4);
    for (int i = 0; i < 4; ++i) bytes_[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
  }
  std::uint32_t Here() const { return std::uint32_t(bytes_.size()); }
  std::uint32_t Data(const Bytes& data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return Here() - std::uint32_t(data.size());
  }
  std::uint32_t Int(std::int32_t v) {
    const auto u = std::uint32_t(v);
    return Data({std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16), std::uint8_t(u >> 24)});
  }

  // A record; the name field is padded with zeros (or cut at 64 bytes).
  std::uint32_t Record(const std::string& name, std::uint8_t type, std::uint32_t dataAt, std::uint32_t size,
                       std::uint32_t next) {
    const std::uint32_t at = Here();
    Bytes field(64, 0);
    for (std::size_t i = 0; i < name.size() && i < 64; ++i) field[i] = std::uint8_t(name[i]);
    bytes_.insert(bytes_.end(), field.begin(), field.end());
    bytes_.push_back(type);
    PutU32(at + 65, dataAt);
    PutU32(at + 69, size);
    PutU32(at + 73, next);
    return at;
  }

  // Records back to back from here, each pointing at the next, then a
  // terminator: {name, type, data offset, size}.
  struct Entry {
    std::string name;
    std::uint8_t type;
    std::uint32_t dataAt, size;
  };
  std::uint32_t Chain(const std::vector<Entry>& entries) {
    const std::uint32_t first = Here();
    for (const Entry& e : entries) Record(e.name, e.type, e.dataAt, e.size, Here() + 77);
    Record("end", 1, 0xFFFFFFF0, 4, 0);
    PutU32(20, first);
    return first;
  }

  Bytes& bytes() { return bytes_; }
  ThemeFileData Parse() const { return ThemeFileData::Parse(bytes_); }

 private:
  Bytes bytes_;
};

std::string ErrorOf(const Bytes& file) {
  try {
    ThemeFileData::Parse(file);
  } catch (const ThemeFileError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(ThemekitThemeFile, ReadsEveryEntryTypeWhereverItsDataLies) {
  ThemeWriter w;
  const Bytes bmp = {'B', 'M', 1, 2, 3, 4, 5};
  const std::uint32_t image = w.Data(bmp);
  const std::uint32_t minWidth = w.Int(-7);
  const std::uint32_t colour = w.Int(0x00C82C00);
  const std::uint32_t yes = w.Data({2});
  const std::uint32_t no = w.Data({0});
  const std::uint32_t text = w.Data({'h', 'i', '=', 0, '!'});
  w.Chain({
      {"buttonimage", 0, image, 7},  // names match ignoring case
      {"ButtonImage", 0, image + 2, 3},  // a later duplicate never answers
      {"FormMinWidthInt", 1, minWidth, 4},
      {"FormBorderColor", 1, colour, 4},
      {"ButtonTransparentBool", 2, yes, 1},
      {"TitleBarButtonTransparentBool", 2, no, 1},
      {"Caption", 3, text, 5},
      {"Mystery", 9, 0xFFFFFF00, 0xFFFFFFFF},  // unknown type: skipped, data never read
      {"FormBorderWidthInt", 1, minWidth, 4},  // records may share data
  });
  const ThemeFileData theme = w.Parse();

  const auto image1 = ThemeElementBitmap(&theme, E::ButtonImage);
  ASSERT_TRUE(image1.has_value());
  EXPECT_EQ(Bytes(image1->begin(), image1->end()), bmp);
  EXPECT_EQ(theme.BitmapCount(), 2u);
  EXPECT_EQ(ThemeElementInteger(&theme, E::FormMinWidthInt), -7);
  EXPECT_EQ(ThemeElementInteger(&theme, E::FormBorderWidthInt), -7);
  EXPECT_EQ(ThemeElementColour(&theme, E::FormBorderColor), 0x00C82C00u);
  EXPECT_TRUE(ThemeElementBoolean(&theme, E::ButtonTransparentBool));  // any non-zero byte
  EXPECT_FALSE(ThemeElementBoolean(&theme, E::TitleBarButtonTransparentBool));
  EXPECT_EQ(theme.BooleanLines(),
            (std::vector<std::string>{"ButtonTransparentBool=2", "TitleBarButtonTransparentBool=0"}));
  EXPECT_EQ(theme.String("CAPTION"), std::string_view("hi=\0!", 5));

  // Missing entries give the neutral values, as does a number outside 1..42.
  EXPECT_FALSE(ThemeElementBitmap(&theme, E::CheckBoxImage).has_value());
  EXPECT_FALSE(ThemeElementBoolean(&theme, E::ButtonImage));  // a bitmap, not a boolean
  EXPECT_EQ(ThemeElementInteger(&theme, E::TitleBarButtonTopInt), -1);
  EXPECT_EQ(ThemeElementColour(&theme, E::FormBackgroundColor), 0xFFFFFFFFu);
  EXPECT_EQ(ThemeElementInteger(&theme, 0), -1);

  // Without a loaded file the manager answers false and 0.
  EXPECT_FALSE(ThemeElementBitmap(nullptr, E::ButtonImage).has_value());
  EXPECT_EQ(ThemeElementInteger(nullptr, E::FormMinWidthInt), 0);
  EXPECT_EQ(ThemeElementColour(nullptr, E::FormBackgroundColor), 0u);
}

// The record whose next offset is 0 ends the chain and is not loaded, even
// when it is the first; such a file is still a valid, empty theme.
TEST(ThemekitThemeFile, TheTerminatingRecordIsNotLoaded) {
  ThemeWriter w;
  const std::uint32_t value = w.Int(5);
  w.Chain({{"A", 1, value, 4}, {"B", 1, value, 4}});  // then T: "end", next 0
  const ThemeFileData ab = w.Parse();
  EXPECT_EQ(ab.IntegerLines(), (std::vector<std::string>{"A=5", "B=5"}));

  ThemeWriter only;
  only.PutU32(20, only.Record("FormMinWidthInt", 1, only.Int(99) /* never read */, 4, 0));
  const ThemeFileData empty = only.Parse();
  EXPECT_TRUE(empty.IntegerLines().empty());
  EXPECT_EQ(ThemeElementInteger(&empty, E::FormMinWidthInt), -1);
}

TEST(ThemekitThemeFile, NamesEndAtTheirFirstZeroOrAfter64Bytes) {
  ThemeWriter w;
  const std::uint32_t value = w.Int(1);
  const std::string long_name(70, 'x');
  w.Chain({{long_name, 1, value, 4},
           {std::string("Form\0MinWidthInt", 16), 1, value, 4},
           // The text line "FormMinWidthInt=3=1" has the name part
           // "FormMinWidthInt" and a value part that is no number.
           {"FormMinWidthInt=3", 1, value, 4}});
  const ThemeFileData theme = w.Parse();
  EXPECT_EQ(theme.IntegerLines()[0], std::string(64, 'x') + "=1");
  EXPECT_EQ(theme.Integer(std::string(64, 'x')), 1);
  EXPECT_EQ(theme.Integer("Form"), 1);
  EXPECT_EQ(theme.Integer("FormMinWidthInt"), -1);
}

TEST(ThemekitThemeFile, RejectsBrokenStructure) {
  EXPECT_NE(ErrorOf(Bytes(15, 0)).find("too short"), std::string::npos);

  for (std::uint32_t length : {0u, 16u, 23u, 25u, 0xFFFFFFFFu}) {
    ThemeWriter w;
    w.Chain({});
    w.PutU32(12, length);
    EXPECT_NE(ErrorOf(w.bytes()).find("header length"), std::string::npos) << length;
  }
  ThemeWriter cut;
  cut.bytes().resize(20);  // says 24
  EXPECT_NE(ErrorOf(cut.bytes()).find("too short"), std::string::npos);
  // Records at or running past the end, including offsets that would wrap.
  for (std::uint32_t first : {25u, 101u, 0xFFFFFFFFu, 0xFFFFFFB4u}) {
    ThemeWriter w;
    w.Chain({});
    w.PutU32(20, first);
    EXPECT_NE(ErrorOf(w.bytes()).find("past the end"), std::string::npos) << first;
  }
  {
    ThemeWriter w;
    w.Chain({{"A", 1, w.Int(1), 4}});
    w.bytes().pop_back();  // the terminator is one byte short
    EXPECT_NE(ErrorOf(w.bytes()).find("past the end"), std::string::npos);
  }
}

TEST(ThemekitThemeFile, RejectsDataOutsideTheFileAndWrongSizes) {
  struct Case {
    ThemeWriter::Entry entry;
    const char* error;
  };
  const Case cases[] = {
      {{"ButtonImage", 0, 24, 0xFFFFFFFF}, "past the end"},
      {{"ButtonImage", 0, 0xFFFFFFF0, 0x20}, "past the end"},  // offset + size wraps
      {{"FormMinWidthInt", 1, 0xFFFFFFFE, 4}, "past the end"},
      {{"ButtonTransparentBool", 2, 0x10000, 1}, "past the end"},
      {{"FormMinWidthInt", 1, 0, 2}, "not 4 bytes"},
      {{"ButtonTransparentBool", 2, 0, 4}, "not 1 byte"},
  };
  for (const Case& c : cases) {
    ThemeWriter w;
    w.Chain({c.entry});
    const std::string error = ErrorOf(w.bytes());
    EXPECT_NE(error.find(c.error), std::string::npos) << c.entry.name << ": " << error;
    EXPECT_NE(error.find(c.entry.name), std::string::npos) << error;
  }
  // A bitmap may be empty and may end exactly at the end of the file.
  ThemeWriter w;
  w.Chain({{"ButtonImage", 0, 0, 0}, {"CheckBoxImage", 0, 24 + 2 * 77 + 70, 7}});
  const ThemeFileData theme = w.Parse();
  EXPECT_EQ(theme.BitmapBytes("ButtonImage")->size(), 0u);
  EXPECT_EQ(theme.BitmapBytes("CheckBoxImage")->size(), 7u);
}

TEST(ThemekitThemeFile, RejectsChainsThatLoopOrNeverEnd) {
  {  // A -> B -> A.
    ThemeWriter w;
    const std::uint32_t a = w.Here();
    w.PutU32(20, w.Record("A", 1, a + 2 * 77, 4, a + 77));
    w.Record("B", 7, 0, 0, a);
    w.Int(1);
    EXPECT_NE(ErrorOf(w.bytes()).find("comes back to the record at $00000018"), std::string::npos);
  }
  {  // Overlapping records eight bytes apart (each an empty bitmap) never
     // revisit one, but there are far more of them than any theme holds.
    ThemeWriter w;
    const std::uint32_t first = w.Here();
    const std::uint32_t count = std::uint32_t(kThemeFileMaxRecords) + 2;
    w.bytes().resize(first + 8 * count + 77, 0);
    for (std::uint32_t i = 0; i < count; ++i) w.PutU32(first + 8 * i + 73, first + 8 * (i + 1));
    w.PutU32(20, first);
    EXPECT_NE(ErrorOf(w.bytes()).find("more than"), std::string::npos);
  }
}

}  // namespace
}  // namespace kestu

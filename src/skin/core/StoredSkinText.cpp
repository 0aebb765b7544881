#include "skin/core/StoredSkinText.h"

#include "base/Bmp.h"

#include <algorithm>
#include <stdexcept>

namespace kestu {

namespace {

constexpr std::string_view kSkinsAnchor = "InternalSkins = ";
constexpr std::string_view kNextAnchor = "SkinDirectory = ";
// Hex digits per line of binary data.
constexpr std::size_t kHexPerLine = 64;

// A quoted string; quotes doubled, control characters as #n outside quotes.
std::string Quoted(std::string_view text) {
  std::string out;
  bool open = false;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) {
      if (open) out += '\'';
      open = false;
      out += '#' + std::to_string(int(c));
      continue;
    }
    if (!open) out += '\'';
    open = true;
    if (c == '\'') out += '\'';
    out += c;
  }
  if (open) out += '\'';
  return out.empty() ? "''" : out;
}

class Writer {
 public:
  explicit Writer(std::string_view indent) : base_(indent) {}

  void Line(std::string_view text) {
    out_ += base_;
    out_.append(std::size_t(depth_) * 2, ' ');
    out_ += text;
    out_ += '\n';
  }
  void Str(std::string_view name, std::string_view value) { Line(std::string(name) + " = " + Quoted(value)); }
  void Int(std::string_view name, std::int64_t value) { Line(std::string(name) + " = " + std::to_string(value)); }
  void Bool(std::string_view name, bool value) { Line(std::string(name) + " = " + (value ? "True" : "False")); }
  template <std::size_t N>
  void Enum(std::string_view name, std::uint8_t value, const char* const (&names)[N]) {
    if (value >= N) throw std::invalid_argument(std::string(name) + ": no such value " + std::to_string(value));
    Line(std::string(name) + " = " + names[value]);
  }
  void Binary(std::string_view name, const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    Line(std::string(name) + " = {");
    ++depth_;
    std::string hex;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      hex += kDigits[bytes[i] >> 4];
      hex += kDigits[bytes[i] & 15];
      if (hex.size() == kHexPerLine || i + 1 == bytes.size()) {
        if (i + 1 == bytes.size()) hex += '}';
        Line(hex);
        hex.clear();
      }
    }
    if (bytes.empty()) Line("}");
    --depth_;
  }

  // name = < item ... end item ... end>, one item per element.
  template <class T, class F>
  void Collection(std::string_view name, const std::vector<T>& items, F&& writeItem) {
    if (items.empty()) {
      Line(std::string(name) + " = <>");
      return;
    }
    Line(std::string(name) + " = <");
    ++depth_;
    for (std::size_t i = 0; i < items.size(); ++i) {
      Line("item");
      ++depth_;
      writeItem(items[i]);
      --depth_;
      Line(i + 1 == items.size() ? "end>" : "end");
    }
    --depth_;
  }

  std::string Take() { return std::move(out_); }

 private:
  std::string base_;
  int depth_ = 0;
  std::string out_;
};

void WriteSection(Writer& w, const TsStoredGeneral& g) {
  w.Str("SectionName", g.SectionName);
  w.Str("ParentClassName", g.ParentClassName);
  w.Int("PaintingColor", g.PaintingColor);
  w.Enum("PaintingBevel", g.PaintingBevel, kControlBevelNames);
  w.Int("PaintingBevelWidth", g.PaintingBevelWidth);
  w.Int("ShadowBlur", g.ShadowBlur);
  w.Int("ShadowColor", g.ShadowColor);
  w.Bool("ShadowDontUse", g.ShadowDontUse);
  w.Bool("ShadowEnabled", g.ShadowEnabled);
  w.Bool("ReservedBoolean", g.ReservedBoolean);
  w.Int("ShadowOffset", g.ShadowOffset);
  w.Int("ShadowTransparency", g.ShadowTransparency);
  w.Str("FontColor", g.FontColor);
  w.Str("HotFontColor", g.HotFontColor);
  w.Int("PaintingTransparency", g.PaintingTransparency);
  w.Int("GradientPercent", g.GradientPercent);
  w.Str("GradientData", g.GradientData);
  w.Int("ImagePercent", g.ImagePercent);
  w.Bool("ShowFocus", g.ShowFocus);
  w.Bool("FadingEnabled", g.FadingEnabled);
  w.Int("FadingIntervalIn", g.FadingIntervalIn);
  w.Int("FadingIntervalOut", g.FadingIntervalOut);
  w.Int("FadingIterations", g.FadingIterations);
  w.Int("HotPaintingColor", g.HotPaintingColor);
  w.Int("HotPaintingTransparency", g.HotPaintingTransparency);
  w.Enum("HotPaintingBevel", g.HotPaintingBevel, kControlBevelNames);
  w.Int("HotPaintingBevelWidth", g.HotPaintingBevelWidth);
  w.Int("HotGradientPercent", g.HotGradientPercent);
  w.Str("HotGradientData", g.HotGradientData);
  w.Int("HotImagePercent", g.HotImagePercent);
  w.Int("PaintingColorBorderTop", g.PaintingColorBorderTop);
  w.Int("PaintingColorBorderBottom", g.PaintingColorBorderBottom);
  w.Enum("SelectionBorderBevel", g.SelectionBorderBevel, kEditorBevelNames);
  w.Int("SelectionBorderWidth", g.SelectionBorderWidth);
  w.Int("SelectionColor", g.SelectionColor);
  w.Str("Name", g.Name);
}

void WriteImage(Writer& w, const TsStoredImage& image) {
  w.Str("SectionName", image.SectionName);
  // Only pictures of their own are stored; the others are rectangles of the
  // master bitmap.
  if (image.ImageCount == 0) w.Binary("Image.Data", StoredBitmapData(image.Image));
  w.Str("Name", image.Name);
  w.Str("PropertyName", image.PropertyName);
  w.Int("Left", image.Left);
  w.Int("Top", image.Top);
  w.Int("Right", image.Right);
  w.Int("Bottom", image.Bottom);
  w.Int("ImageCount", image.ImageCount);
  w.Int("MaskType", image.MaskType);
}

void WriteSkin(Writer& w, const TsStoredSkinData& skin) {
  // Pattern pictures are JPEG data, which nothing here encodes.
  if (!skin.Patterns.empty()) throw std::invalid_argument("skin \"" + skin.Name + "\": patterns cannot be stored");
  w.Str("Name", skin.Name);
  w.Collection("GeneralData", skin.GeneralData, [&](const TsStoredGeneral& g) { WriteSection(w, g); });
  w.Collection("Images", skin.Images, [&](const TsStoredImage& image) { WriteImage(w, image); });
  w.Collection("Patterns", skin.Patterns, [](const TsStoredPattern&) {});
  w.Binary("MasterBitmap.Data", StoredBitmapData(skin.MasterBitmap));
}

// Start of the one line that holds `anchor` after its indentation.
std::size_t FindAnchorLine(std::string_view text, std::string_view anchor) {
  std::size_t found = std::string_view::npos;
  for (std::size_t line = 0; line < text.size();) {
    std::size_t end = std::min(text.find('\n', line), text.size());
    std::size_t start = text.find_first_not_of(" \t", line);
    if (start < end && text.substr(start, anchor.size()) == anchor) {
      if (found != std::string_view::npos)
        throw std::runtime_error("the form description has more than one line \"" + std::string(anchor) + "\"");
      found = line;
    }
    line = end + 1;
  }
  if (found == std::string_view::npos)
    throw std::runtime_error("the form description has no line \"" + std::string(anchor) + "\"");
  return found;
}

}  // namespace

std::vector<std::uint8_t> StoredBitmapData(const PixelBuffer& picture) {
  std::vector<std::uint8_t> file;
  if (picture.Width() > 0 && picture.Height() > 0) file = WriteBmp(const_cast<PixelBuffer&>(picture).Rows());
  const std::uint32_t length = std::uint32_t(file.size());
  std::vector<std::uint8_t> out{std::uint8_t(length), std::uint8_t(length >> 8), std::uint8_t(length >> 16),
                                std::uint8_t(length >> 24)};
  out.insert(out.end(), file.begin(), file.end());
  return out;
}

std::string InternalSkinsText(const std::vector<TsStoredSkinData>& skins, std::string_view indent) {
  Writer w(indent);
  w.Collection("InternalSkins", skins, [&](const TsStoredSkinData& skin) { WriteSkin(w, skin); });
  return w.Take();
}

std::string ReplaceInternalSkins(std::string_view description, const std::vector<TsStoredSkinData>& skins) {
  const std::size_t begin = FindAnchorLine(description, kSkinsAnchor);
  const std::size_t end = FindAnchorLine(description, kNextAnchor);
  if (end < begin) throw std::runtime_error("the form description stores SkinDirectory before InternalSkins");
  const std::string_view indent = description.substr(begin, description.find_first_not_of(" \t", begin) - begin);
  std::string out(description.substr(0, begin));
  out += InternalSkinsText(skins, indent);
  out += description.substr(end);
  return out;
}

}  // namespace kestu

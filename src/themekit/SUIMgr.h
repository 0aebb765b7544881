#pragma once
// Theme files as a component: TsuiThemeFileReader holds one parsed file,
// TsuiFileThemeMgr owns at most one reader and reads elements by number, and
// TsuiFileTheme is the published component whose ThemeFile names the file.

#include <memory>

#include "framework/Graphics.h"
#include "themekit/core/StyleTables.h"
#include "themekit/core/ThemeFileData.h"

namespace kestu {

class TsuiThemeFileReader {
 public:
  // Reads and parses the file (shared read access); raises an Exception when
  // it cannot be read or is not a theme file.
  explicit TsuiThemeFileReader(const String& path);
  const ThemeFileData& Data() const { return data_; }

 private:
  ThemeFileData data_;
};

class TsuiFileThemeMgr {
 public:
  // False, keeping the current reader, when no file exists at the path. A
  // file that exists but cannot be read raises and keeps the current reader.
  bool LoadThemeFile(const String& path);
  void ThemeBitmap(int index, TBitmap* graphic) const;
  bool ThemeBoolean(int index) const;
  std::uint32_t ThemeColour(int index) const;
  std::int32_t ThemeInteger(int index) const;
  const TsuiThemeFileReader* Reader() const { return reader_.get(); }

 private:
  std::unique_ptr<TsuiThemeFileReader> reader_;
};

class TsuiFileTheme : public TComponent {
  KESTU_CLASS(TsuiFileTheme, TComponent)
 public:
  explicit TsuiFileTheme(TComponent* AOwner);

  const String& ThemeFile() const { return themeFile_; }
  void SetThemeFile(const String& value);
  bool IsThemeLoaded() const { return loaded_; }

  // A missing bitmap entry leaves the graphic as it was.
  void ThemeBitmap(int index, TBitmap* graphic) const { mgr_.ThemeBitmap(index, graphic); }
  bool ThemeBoolean(int index) const { return mgr_.ThemeBoolean(index); }
  std::uint32_t ThemeColour(int index) const { return mgr_.ThemeColour(index); }
  std::int32_t ThemeInteger(int index) const { return mgr_.ThemeInteger(index); }
  // Image `which` of `count` of the element's strip; count below 1 or a
  // missing entry leaves the graphic as it was.
  void ThemeStateImage(int index, TBitmap* graphic, int which, int count) const;

 private:
  void RefreshOwnerComponents();
  String themeFile_;
  bool loaded_ = false;
  TsuiFileThemeMgr mgr_;
};

}  // namespace kestu

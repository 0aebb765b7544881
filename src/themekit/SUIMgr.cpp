#include "themekit/SUIMgr.h"

#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "themekit/ThemeDrawing.h"

namespace kestu {

namespace {

Bytes ReadThemeBytes(const String& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw Exception(L"Cannot open theme file " + path);
  struct Closer {
    HANDLE h;
    ~Closer() { CloseHandle(h); }
  } closer{file};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
      std::uint64_t(size.QuadPart) > kThemeFileMaxSize)
    throw Exception(L"Theme file " + path + L" is too large");
  Bytes bytes(std::size_t(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    if (!ReadFile(file, bytes.data() + done, want, &got, nullptr) || got == 0)
      throw Exception(L"Cannot read theme file " + path);
    done += got;
  }
  return bytes;
}

String FileNamePart(const String& path) {
  const auto slash = path.find_last_of(L"\\/:");
  return slash == String::npos ? path : path.substr(slash + 1);
}

}  // namespace

TsuiThemeFileReader::TsuiThemeFileReader(const String& path) {
  try {
    data_ = ThemeFileData::Parse(ReadThemeBytes(path));
  } catch (const ThemeFileError& e) {
    throw Exception(L"Theme file " + path + L" is not valid: " + Utf8ToString(e.what()));
  }
}

bool TsuiFileThemeMgr::LoadThemeFile(const String& path) {
  if (!FileExists(path)) return false;
  reader_ = std::make_unique<TsuiThemeFileReader>(path);
  return true;
}

void TsuiFileThemeMgr::ThemeBitmap(int index, TBitmap* graphic) const {
  if (!graphic || !reader_) return;
  const auto bytes = ThemeElementBitmap(&reader_->Data(), index);
  if (bytes) graphic->LoadFromBmp(bytes->data(), bytes->size());
}

bool TsuiFileThemeMgr::ThemeBoolean(int index) const {
  return ThemeElementBoolean(reader_ ? &reader_->Data() : nullptr, index);
}

std::uint32_t TsuiFileThemeMgr::ThemeColour(int index) const {
  return ThemeElementColour(reader_ ? &reader_->Data() : nullptr, index);
}

std::int32_t TsuiFileThemeMgr::ThemeInteger(int index) const {
  return ThemeElementInteger(reader_ ? &reader_->Data() : nullptr, index);
}

KESTU_PUBLISH(TsuiFileTheme) { p.Str("ThemeFile", &TsuiFileTheme::ThemeFile, &TsuiFileTheme::SetThemeFile); }

TsuiFileTheme::TsuiFileTheme(TComponent* AOwner) : TComponent(AOwner) {}

void TsuiFileTheme::SetThemeFile(const String& value) {
  if (value == themeFile_) return;
  String path = value;
  if (!FileExists(path)) {
    String folder = ExtractFilePath(ProgramPath());
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    path = folder + FileNamePart(value);
    if (!FileExists(path)) return;
  }
  const bool loaded = mgr_.LoadThemeFile(path);
  themeFile_ = path;
  loaded_ = loaded;
  if (loaded_) RefreshOwnerComponents();
}

void TsuiFileTheme::RefreshOwnerComponents() {
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  if (!form) return;
  const std::vector<TComponent*> owned = form->ComponentList();
  for (TComponent* c : owned) {
    if (c->ClassType().name.rfind("Tsui", 0) != 0) continue;
    if (!HasPublishedProperty(c, "FileTheme")) continue;
    if (GetObjectProp(c, "FileTheme") != this) continue;
    SetObjectProp(c, "FileTheme", this);
  }
}

void TsuiFileTheme::ThemeStateImage(int index, TBitmap* graphic, int which, int count) const {
  if (!graphic || count < 1) return;
  TBitmap strip;
  ThemeBitmap(index, &strip);
  if (strip.Empty()) return;
  SplitStateImage(&strip, graphic, count, which);
}

}  // namespace kestu

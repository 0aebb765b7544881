#include "framework/SysUtils.h"

#include <cstring>

#include "framework/Forms.h"

namespace kestu {

String ProgramPath() {
  String path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

String ExtractFilePath(const String& path) {
  const std::size_t at = path.find_last_of(L"\\/:");
  return at == String::npos ? String() : path.substr(0, at + 1);
}

bool FileExists(const String& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// The build packs large resources: "KPK1", the unpacked length (4 bytes,
// little-endian), then the data in the system's LZNT1 format.
// RtlDecompressBuffer reports failure with a negative status.
constexpr char kPackedMagic[4] = {'K', 'P', 'K', '1'};
constexpr USHORT kFormatLznt1 = 2;
constexpr std::uint32_t kMaxUnpacked = 64u << 20;  // far above any form description

extern "C" LONG NTAPI RtlDecompressBuffer(USHORT format, PUCHAR unpacked, ULONG unpackedSize, PUCHAR packed,
                                          ULONG packedSize, PULONG finalSize);

Bytes Unpack(const String& name, const std::uint8_t* data, std::size_t size) {
  if (size < 8 || std::memcmp(data, kPackedMagic, 4) != 0) return Bytes(data, data + size);
  const std::uint32_t length = std::uint32_t(data[4]) | std::uint32_t(data[5]) << 8 | std::uint32_t(data[6]) << 16 |
                               std::uint32_t(data[7]) << 24;
  if (length > kMaxUnpacked) throw Exception(L"Resource " + name + L" is damaged");
  Bytes unpacked(length);
  ULONG written = 0;
  const LONG status = RtlDecompressBuffer(kFormatLznt1, unpacked.data(), ULONG(length), const_cast<PUCHAR>(data + 8),
                                          ULONG(size - 8), &written);
  if (status < 0 || written != length) throw Exception(L"Resource " + name + L" is damaged");
  return unpacked;
}

}  // namespace

Bytes LoadResourceData(const String& name, const wchar_t* type) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, name.c_str(), type);
  if (!res) throw Exception(L"Resource " + name + L" not found");
  const auto* p = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, res)));
  return Unpack(name, p, SizeofResource(module, res));
}

ClipboardLock::ClipboardLock(HWND owner) : opened_(OpenClipboard(owner) != FALSE) {}

ClipboardLock::~ClipboardLock() {
  if (opened_) CloseClipboard();
}

void ClipboardSetText(const String& text) {
  ClipboardLock lock(Application ? Application->Handle() : nullptr);
  if (!lock.Opened()) throw Exception(L"Cannot open clipboard");
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) throw Exception(L"Out of memory");
  std::memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_UNICODETEXT, memory)) {
    GlobalFree(memory);
    throw Exception(L"Cannot set clipboard data");
  }
}

String ClipboardText() {
  ClipboardLock lock(Application ? Application->Handle() : nullptr);
  if (!lock.Opened()) return {};
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  const auto* p = static_cast<const wchar_t*>(GlobalLock(data));
  String text = p ? String(p, wcsnlen(p, GlobalSize(data) / sizeof(wchar_t))) : String();
  GlobalUnlock(data);
  return text;
}

int ShowMessageBox(const String& text, const String& caption, UINT flags) {
  return Application->MessageBox(text, caption, flags);
}

}  // namespace kestu

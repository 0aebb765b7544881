#include "skin/SkinResources.h"

#include <array>
#include <memory>

namespace kestu {

namespace {

int useCount = 0;
std::unique_ptr<std::array<PixelBuffer, 6>> borders;

}  // namespace

PixelBuffer LoadResourceBitmap(const wchar_t* name, HINSTANCE module) {
  if (!module) module = GetModuleHandleW(nullptr);
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return {};
  PixelBuffer rows;
  BITMAP info{};
  if (GetObjectW(bitmap, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight != 0) {
    const int width = info.bmWidth, height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    rows.Resize(width, height);
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -height;  // top row first
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 24;
    request.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    int copied = dc ? GetDIBits(dc, bitmap, 0, UINT(height), rows.Rows().bits, &request, DIB_RGB_COLORS) : 0;
    if (dc) DeleteDC(dc);
    if (copied != height) rows = PixelBuffer();
  }
  DeleteObject(bitmap);
  return rows;
}

SkinGraphicsUse::SkinGraphicsUse() {
  if (useCount++ > 0) return;
  borders = std::make_unique<std::array<PixelBuffer, 6>>();
  static constexpr const wchar_t* kNames[6] = {L"BORD1", L"BORD2", L"BORD3", L"BORD4", L"BORD5", L"BORD6"};
  for (int i = 0; i < 6; ++i) (*borders)[std::size_t(i)] = LoadResourceBitmap(kNames[i]);
}

SkinGraphicsUse::~SkinGraphicsUse() {
  if (--useCount == 0) borders.reset();
}

PixelRows PredefinedBorderMask(TsPredefinedBorders predefined, PixelRows customMask) {
  if (predefined == pdCustom && customMask.width > 0 && !customMask.Empty()) return customMask;
  if (!borders) return {};
  std::size_t index = predefined <= pdBorder6 ? std::size_t(predefined) : 0;
  return (*borders)[index].Rows();
}

}  // namespace kestu

// Real windows on the virtual display: a top-level window with a window
// region, painted and read back through a memory device context.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kPaint = RGB(200, 40, 60);
constexpr int kWidth = 120;
constexpr int kHeight = 80;
constexpr int kCornerDiameter = 24;

LRESULT CALLBACK PaintRed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(kPaint);
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcW(window, message, wParam, lParam);
}

// Rounded top corners, square bottom: a round rectangle joined with the
// lower half of the plain rectangle.
HRGN RoundedTopRegion() {
  HRGN region = CreateRoundRectRgn(0, 0, kWidth + 1, kHeight + 1, kCornerDiameter, kCornerDiameter);
  HRGN bottom = CreateRectRgn(0, kHeight / 2, kWidth, kHeight);
  CombineRgn(region, region, bottom, RGN_OR);
  DeleteObject(bottom);
  return region;
}

class RegionWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PaintRed;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"HarnessRegionWindow";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(WS_EX_TOPMOST, L"HarnessRegionWindow", L"region", WS_POPUP, 100, 100,
                              kWidth, kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    SetWindowRgn(window_, RoundedTopRegion(), TRUE);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
    PumpMessages();
  }
  void TearDown() override { DestroyWindow(window_); }

  static void PumpMessages() {
    const DWORD until = GetTickCount() + 300;
    MSG message;
    while (GetTickCount() < until) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(10);
    }
  }

  HWND window_ = nullptr;
};

TEST_F(RegionWindow, RegionHasRoundedTopAndSquareBottomCorners) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(window_, region), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, kWidth - 1, 0));
  EXPECT_TRUE(PtInRegion(region, kWidth / 2, 0));
  EXPECT_TRUE(PtInRegion(region, 0, kHeight - 1));
  EXPECT_TRUE(PtInRegion(region, kWidth - 1, kHeight - 1));
  RECT box;
  GetRgnBox(region, &box);
  EXPECT_EQ(box.right - box.left, kWidth);
  EXPECT_EQ(box.bottom - box.top, kHeight);
  DeleteObject(region);
}

TEST_F(RegionWindow, PaintedPixelsReadBackInsideTheRegionOnly) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  ASSERT_TRUE(BitBlt(memory, 0, 0, kWidth, kHeight, screen, 100, 100, SRCCOPY));
  GdiFlush();
  auto pixel = [&](int x, int y) {
    const auto* row = static_cast<const BYTE*>(bits) + y * ((kWidth * 3 + 3) & ~3);
    return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
  };
  EXPECT_EQ(pixel(kWidth / 2, kHeight / 2), kPaint);
  EXPECT_EQ(pixel(kWidth / 2, 0), kPaint);
  EXPECT_EQ(pixel(0, kHeight - 1), kPaint);
  EXPECT_NE(pixel(0, 0), kPaint) << "the cut corner shows what lies behind the window";
  EXPECT_NE(pixel(kWidth - 1, 0), kPaint);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace

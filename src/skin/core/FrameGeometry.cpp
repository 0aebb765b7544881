#include "skin/core/FrameGeometry.h"

namespace kestu {

TitleButtonSet TitleButtonsFor(int borderStyle, bool sysMenu, bool minimize, bool maximize, bool help,
                               bool maximized, bool minimized) {
  TitleButtonSet s;
  s.SystemMenu = sysMenu;
  s.Help = help;
  s.MaxVisible = sysMenu && borderStyle == 2;
  s.MinVisible = sysMenu && (borderStyle == 1 || borderStyle == 2);
  s.MaxEnabled = maximize && !maximized;
  s.MinEnabled = minimize && !minimized;
  s.RestoreEnabled = maximize && (maximized || minimized);
  return s;
}

FrameMetrics ComputeFrameMetrics(int borderStyle, const FrameSystemMetrics& sys, const TitleImageSize& close,
                                 bool hasMenu, int menuLineCount, bool showAppIcon, const TitleButtonSet& buttons,
                                 int borderWidth) {
  FrameMetrics m;
  switch (borderStyle) {
    case 0: break;
    case 1: case 3:
      m.SysBorderX = sys.CxFrame - 1, m.SysBorderY = sys.CyFrame - 1, m.CaptionHeight = sys.CyCaption;
      break;
    case 4: m.SysBorderX = sys.CxFrame - 1, m.SysBorderY = sys.CyFrame, m.CaptionHeight = sys.CySmCaption - 1; break;
    case 2: m.SysBorderX = sys.CxFrame, m.SysBorderY = sys.CyFrame, m.CaptionHeight = sys.CyCaption; break;
    default: m.SysBorderX = sys.CxFrame, m.SysBorderY = sys.CyFrame, m.CaptionHeight = sys.CySmCaption; break;
  }
  if (close.Present) {
    const int frames = close.Own ? 3 : (close.ImageCount < 1 ? 1 : close.ImageCount);
    const int halves = close.Own ? 2 : (close.MaskType < 0 ? 0 : close.MaskType) + 1;
    m.TitleButtonWidth = close.Width / frames;
    m.TitleButtonHeight = close.Height / halves;
  }
  m.ButtonTopRaw = (m.SysBorderY + m.CaptionHeight - m.TitleButtonHeight) / 2;
  m.ButtonTop = m.ButtonTopRaw + (m.TitleButtonHeight < 16 ? 2 : 0);
  m.MenuLineHeight = hasMenu ? sys.CyMenu - 1 : 0;
  m.MenuLineCount = hasMenu ? menuLineCount : 0;
  const bool iconShown = showAppIcon && (borderStyle == 1 || borderStyle == 2);
  m.IconRect = {m.SysBorderX, m.SysBorderY, m.SysBorderX + (iconShown ? sys.CxSmIcon : 0),
                m.SysBorderY + sys.CySmIcon};
  if (buttons.SystemMenu)
    m.VisibleButtonCount = 3 + (buttons.Help ? 1 : 0) - (buttons.MinVisible ? 0 : 1) - (buttons.MaxVisible ? 0 : 1);
  m.BorderWidth = borderWidth;
  return m;
}

int HitTestFrame(const TitleHitInput& in, PixPoint p) {
  const FrameMetrics& m = in.m;
  const int W = in.W, BW = m.TitleButtonWidth, step = BW + 1;
  const int b = m.ButtonTopRaw, e = b + m.TitleButtonHeight;
  // Slot k spans from its left edge to the left edge of slot k - 1, both inclusive.
  auto inSlot = [&](int k) { return m.SlotLeft(W, k) <= p.X && p.X <= m.SlotLeft(W, k - 1); };
  int code = kHitNowhere;
  if (b <= p.Y && p.Y <= e) {
    const TitleButtonSet& s = in.buttons;
    const int maxV = s.MaxVisible ? 1 : 0, minV = s.MinVisible ? 1 : 0;
    const int userCount = int(in.userEnabled.size());
    if (s.SystemMenu && W - m.SysBorderX - BW - 1 <= p.X && p.X <= W - m.SysBorderX) {
      code = kHitClose;
    } else if ((s.MaxEnabled || s.RestoreEnabled) && s.MaxVisible && inSlot(2)) {
      code = kHitMax;
    } else if (s.MinEnabled && s.MinVisible && inSlot(2 + maxV)) {
      code = kHitMin;
    } else if (m.SysBorderX <= p.X && p.X <= m.SysBorderX + m.IconRect.Width()) {
      code = kHitSysMenu;
    } else if (s.Help && s.MaxVisible && inSlot(2 + maxV + minV)) {
      code = kHitHelp;
    } else if (userCount > 0 && W - m.SysBorderX - (userCount + 4) * step <= p.X &&
               p.X <= W - m.SysBorderX - 4 * BW - 4) {
      const int i = (W - m.SysBorderX - 4 * BW - p.X - 4) / step;
      code = i >= 0 && i < userCount && in.userEnabled[std::size_t(i)] ? kHitUserFirst + i : kHitCaption;
    } else {
      code = p.Y < e ? kHitCaption : kHitNowhere;
    }
  } else if (in.grip && p.X >= in.gripPoint.X && p.Y >= in.gripPoint.Y) {
    code = kHitBottomRight;
  } else {
    for (const auto& [mdiCode, r] : in.mdiButtons)
      if (r.Left <= p.X && p.X <= r.Right && r.Top <= p.Y && p.Y <= r.Bottom) {
        code = mdiCode;
        break;
      }
  }
  const bool inside = 2 <= p.X && p.X < W - 4 && 2 <= p.Y && p.Y < in.H - 4;
  if (in.maximized && !inside) code = kHitMaximizedEdge;
  return code;
}

MenuLineLayout LayoutMenuLine(const std::vector<MenuLineEntry>& items, int W, const FrameMetrics& m,
                              int cxMenuSize) {
  MenuLineLayout out;
  const int limit = W - 2 * m.SysBorderX - 2 * m.BorderWidth - 6;
  int x = m.SysBorderX, y = m.SysBorderY + m.CaptionHeight;
  for (const MenuLineEntry& item : items) {
    if (!item.Shown) {
      out.Rects.push_back({});
      continue;
    }
    const int advance = item.Width + cxMenuSize - 6;
    // An item that starts a row stays there even when it is wider than the row.
    if (limit < x + advance && x != m.SysBorderX) {
      x = m.SysBorderX;
      y += m.MenuLineHeight;
      ++out.Rows;
    }
    out.Rects.push_back({x, y, x + advance, y + m.MenuLineHeight});
    x += advance;
  }
  return out;
}

RegionCuts CornerCuts(const MaskImage& mask, int width) {
  RegionCuts cuts;
  if (!mask.Present()) return cuts;
  const int frameWidth = mask.area.Width() / mask.frames;
  const int rows = mask.area.Height() / mask.halves;
  const int cell = frameWidth / 3;
  const Bgr key = BgrFromColor(clFuchsia);
  auto scan = [&](int y, int from, int to, int shift) {
    const Bgr* row = mask.bits.Row(mask.area.Top + y);
    int run = -1;
    for (int x = from; x <= to; ++x) {
      const bool keyed = x < to && row[mask.area.Left + x] == key;
      if (keyed && run < 0) run = x;
      if (!keyed && run >= 0) {
        cuts.push_back({run + shift, y, x + shift, y + 1});
        run = -1;
      }
    }
  };
  for (int y = 0; y < rows; ++y) {
    scan(y, 0, cell, 0);
    scan(y, frameWidth - cell, frameWidth, width - frameWidth);
  }
  return cuts;
}

std::array<std::pair<int, PixRect>, 3> MdiChildButtons(const PixRect& lastItem) {
  const int side = std::max(0, std::min((kMdiButtonsRoom - 4) / 3, lastItem.Height() - 4));
  const int top = lastItem.Top + (lastItem.Height() - side) / 2;
  auto slot = [&](int i) {
    const int left = lastItem.Right - kMdiButtonsRoom + 1 + i * (side + 1);
    return PixRect{left, top, left + side, top + side};
  };
  return {{{kHitMdiClose, slot(2)}, {kHitMdiRestore, slot(1)}, {kHitMdiMin, slot(0)}}};
}

}  // namespace kestu

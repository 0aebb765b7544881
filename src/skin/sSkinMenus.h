#pragma once
// TsSkinableMenus: the skin manager's menu painter. It makes menus drawn by
// their owner and paints their items from the current skin: pop-up items
// from "MAINMENU" (the pop-up's background) and "MENUITEM", menu-bar items
// from "MENUITEM" over the form provider's menu line, with the text colours
// of "MENULINE".

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/core/MenuGeometry.h"

namespace kestu {

class TsSkinManager;
class TsSkinableMenus;

using TsMenuManagerDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect,
                                                      TOwnerDrawState State, TsMenuItemType ItemType)>;

// The handlers the painter gives items. A handler is the painter's own when
// it holds one of these naming that painter; every other one is left alone.
struct TsMenuItemMeasure {
  TsSkinableMenus* Painter;
  void operator()(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) const;
};
struct TsMenuItemDraw {
  TsSkinableMenus* Painter;
  void operator()(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, TOwnerDrawState State) const;
};
struct TsMenuBarMeasure {
  TsSkinableMenus* Painter;
  void operator()(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) const;
};
struct TsMenuBarDraw {
  TsSkinableMenus* Painter;
  void operator()(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, TOwnerDrawState State) const;
};

class TsSkinableMenus : public TPersistent {
  KESTU_CLASS(TsSkinableMenus, TPersistent)
 public:
  explicit TsSkinableMenus(TsSkinManager* manager);
  ~TsSkinableMenus() override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  // BevelWidth and CaptionFont are kept for stored values; painting uses
  // neither (captions are written in the system menu font).
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v) { bevelWidth_ = v; }
  // Inset of divider lines from the item's sides, with Margin.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v) { borderWidth_ = v; }
  TFont* CaptionFont() { return &captionFont_; }
  // Spacing unit of glyphs, captions and item heights.
  int Margin() const { return margin_; }
  void SetMargin(int v) { margin_ = v; }
  // Called once an item is painted, before it is shown.
  const TsMenuManagerDrawItemEvent& OnDrawItem() const { return onDrawItem_; }
  void SetOnDrawItem(TsMenuManagerDrawItemEvent e) { onDrawItem_ = std::move(e); }

  TsSkinManager* Manager() const { return manager_; }
  TCustomForm* HostForm() const { return hostForm_; }

  // Taking menus over (on) and giving them back.
  void HookMainMenu(TMainMenu* menu, bool on);
  void HookPopupMenu(TMenu* menu, bool on);
  void HookMenuItems(TMenuItem* item, bool on);
  void HookItem(TMenuItem* item, bool on);
  void HookAllMenus(bool on);
  void UpdateMenus();
  void FreeMenuCache();

  SIZE GetGlyphSize(TMenuItem* item) const;
  int MeasureItemHeight(TMenuItem* item, TCanvas* canvas) const;
  // The height of the pop-up the item is in: its visible items' heights.
  int PopupHeight(TMenuItem* item, TCanvas* canvas) const;

  // What the handlers do.
  void MeasureItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) const;
  void DrawItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, TOwnerDrawState state);
  void MeasureBarItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) const;
  void DrawBarItem(TMenuItem* item, TCanvas* canvas, RECT rect, TOwnerDrawState state);

  // The menu-bar item last drawn selected or hot, and where, until it is
  // drawn plain again or forgotten.
  TMenuItem* HighlightedBarItem() const { return highlightedBarItem_; }
  RECT HighlightedBarRect() const { return highlightedBarRect_; }
  void ForgetHighlightedBarItem() { highlightedBarItem_ = nullptr; }
  // A component went away: nothing here may point at it any longer.
  void ComponentRemoved(TComponent* component);

 private:
  bool Designing() const;
  bool HookBarItem(TMenuItem* item, bool withDraw);
  bool ReleaseItem(TMenuItem* item);
  void ReleaseTree(TMenuItem* item);
  void ForEachMenuComponent(const std::function<void(TComponent*)>& visit) const;
  void PaintNormalItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, TOwnerDrawState state);
  void PaintCaptionItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, TOwnerDrawState state);
  void PaintPopupBackground(TMenuItem* item, TCanvas* canvas, const RECT& rect, TBitmap* target, bool hot);
  void PaintCheckBox(TMenuItem* item, TBitmap* target, SIZE glyph);
  void PaintGlyph(TMenuItem* item, TBitmap* target, SIZE glyph, TOwnerDrawState state);
  void PaintTexts(TMenuItem* item, TCanvas* canvas, const RECT& captionRect, const RECT& shortCutRect, bool hot,
                  const char* sectionName);
  UINT AlignmentFormat() const;
  void DoDrawItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, TOwnerDrawState state,
                  TsMenuItemType type);

  TsSkinManager* manager_;
  TCustomForm* hostForm_;
  TAlignment alignment_ = taLeftJustify;
  int bevelWidth_ = 0;
  int borderWidth_ = 0;
  TFont captionFont_;
  int margin_ = 4;
  TsMenuManagerDrawItemEvent onDrawItem_;
  TMenuItem* highlightedBarItem_ = nullptr;
  RECT highlightedBarRect_{};
};

// The active child of an MDI frame when it is maximised and shows an icon:
// the frame's menu line then shows the child's icon and its three buttons.
TCustomForm* MaximizedChildWithIcon(TCustomForm* mdiParent);

}  // namespace kestu

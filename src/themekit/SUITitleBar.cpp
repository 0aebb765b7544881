#include "themekit/SUITitleBar.h"

#include <windowsx.h>

#include <algorithm>

namespace kestu {

namespace {

constexpr wchar_t kOneControlBox[] = L"Sorry, only one button's ButtonType property can be \"suiControlBox\"";
constexpr wchar_t kOneClientSection[] = L"Sorry, only one section's Align property can be \"suiClient\"";
constexpr wchar_t kMinimizeCaption[] = L"Mi&nimize";
constexpr wchar_t kMaximizeCaption[] = L"Ma&ximize/Restore";
constexpr wchar_t kCloseCaption[] = L"&Close";
constexpr int kTitleImageCount = 18;
constexpr int kResizeBand = 4;  // rows 0..4 of the bar resize the window

void ShowAdvice(const String& text) {
  if (Application) Application->MessageBox(text, Application->Title(), MB_OK);
}

// First of the three pictures of a button type in the 18-image strip.
int FirstImageOf(TsuiTitleBarBtnType type, bool maximised) {
  switch (type) {
    case suiControlBox: return 1;
    case suiHelp: return 4;
    case suiMax: return maximised ? 10 : 7;
    case suiMin: return 13;
    case suiClose: return 16;
    case suiCustom: return 0;
  }
  return 0;
}

bool HostMaximised(TCustomForm* host) { return host && host->HandleAllocated() && IsZoomed(host->Handle()); }

// What a screen reader calls a title button.
String TitleButtonName(TsuiTitleBarBtnType type, bool maximised, int index) {
  switch (type) {
    case suiMax: return maximised ? L"Restore" : L"Maximize";
    case suiMin: return L"Minimize";
    case suiClose: return L"Close";
    case suiHelp: return L"Help";
    case suiControlBox: return L"System menu";
    case suiCustom: break;
  }
  return L"Button " + std::to_wstring(index + 1);
}

}  // namespace

String FitCaption(TCanvas* canvas, const String& caption, int room) {
  if (canvas->TextWidth(caption) <= room) return caption;
  String text = caption;
  while (!text.empty() && canvas->TextWidth(text + L"...") > room) text.pop_back();
  return text + L"...";
}

// ---------------------------------------------------------------------------
// Buttons

KESTU_PUBLISH(TsuiTitleBarButton) {
  p.Enum("ButtonType", &TsuiTitleBarButton::ButtonType, &TsuiTitleBarButton::SetButtonType, suiCustom,
         {"suiMax", "suiMin", "suiClose", "suiHelp", "suiControlBox", "suiCustom"});
  p.Bool("Visible", &TsuiTitleBarButton::Visible, &TsuiTitleBarButton::SetVisible, true);
  p.Bool("Transparent", &TsuiTitleBarButton::Transparent, &TsuiTitleBarButton::SetTransparent, false);
  p.Int("Top", &TsuiTitleBarButton::Top, &TsuiTitleBarButton::SetTop, 2);
  p.Enum("UIStyle", &TsuiTitleBarButton::UIStyle, &TsuiTitleBarButton::SetUIStyle, 3, UIStyleNames());
  p.Object("PicNormal", &TsuiTitleBarButton::PicNormal);
  p.Object("PicMouseOn", &TsuiTitleBarButton::PicMouseOn);
  p.Object("PicMouseDown", &TsuiTitleBarButton::PicMouseDown);
  p.Ref("ControlBoxMenu", &TsuiTitleBarButton::ControlBoxMenu, &TsuiTitleBarButton::SetControlBoxMenu);
}

TsuiTitleBarButton::TsuiTitleBarButton(TCollection* collection) : TCollectionItem(collection) {
  for (TBitmap* b : {&picNormal_, &picMouseOn_, &picMouseDown_}) b->SetOnChange([this](TObject*) { Changed(); });
}

TsuiTitleBar* TsuiTitleBarButton::Bar() const {
  return Collection() ? dynamic_cast<TsuiTitleBar*>(Collection()->Owner()) : nullptr;
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType v) {
  if (v == suiControlBox && Collection())
    for (int i = 0; i < Collection()->Count(); ++i)
      if (Collection()->Items(i) != this && Collection()->Item<TsuiTitleBarButton>(i)->ButtonType() == suiControlBox)
        return ShowAdvice(kOneControlBox);
  buttonType_ = v;
  LoadPictures();
  Changed();
}

void TsuiTitleBarButton::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  Changed();
}

void TsuiTitleBarButton::SetTransparent(bool v) {
  if (transparent_ == v) return;
  transparent_ = v;
  Changed();
}

void TsuiTitleBarButton::SetTop(int v) {
  if (top_ == v) return;
  top_ = v;
  Changed();
}

void TsuiTitleBarButton::SetUIStyle(TsuiUIStyle v) {
  uiStyle_ = v;
  LoadPictures();
  Changed();
}

void TsuiTitleBarButton::LoadPictures() {
  TsuiTitleBar* bar = Bar();
  const TsuiFileTheme* theme = bar ? bar->FileTheme() : nullptr;
  transparent_ = ElementBoolean(theme, uiStyle_, TsuiElement::TitleBarButtonTransparentBool);
  if (buttonType_ == suiCustom) return;
  const int first = FirstImageOf(buttonType_, bar && HostMaximised(bar->Host()));
  ElementStateImage(theme, uiStyle_, TsuiElement::TitleBarButtonImage, &picNormal_, first, kTitleImageCount);
  ElementStateImage(theme, uiStyle_, TsuiElement::TitleBarButtonImage, &picMouseOn_, first + 1, kTitleImageCount);
  ElementStateImage(theme, uiStyle_, TsuiElement::TitleBarButtonImage, &picMouseDown_, first + 2, kTitleImageCount);
  top_ = ElementInteger(theme, uiStyle_, TsuiElement::TitleBarButtonTopInt);
}

// ---------------------------------------------------------------------------
// Sections

KESTU_PUBLISH(TsuiTitleBarSection) {
  p.Enum("Align", &TsuiTitleBarSection::Align, &TsuiTitleBarSection::SetAlign, suiLeft,
         {"suiLeft", "suiRight", "suiClient"});
  p.Int("Width", &TsuiTitleBarSection::Width, &TsuiTitleBarSection::SetWidth, 10);
  p.Object("Picture", &TsuiTitleBarSection::Picture);
  p.Bool("Stretch", &TsuiTitleBarSection::Stretch, &TsuiTitleBarSection::SetStretch, false);
  p.Bool("AutoSize", &TsuiTitleBarSection::AutoSize, &TsuiTitleBarSection::SetAutoSize, false);
}

TsuiTitleBarSection::TsuiTitleBarSection(TCollection* collection) : TCollectionItem(collection) {
  picture_.SetOnChange([this](TObject*) {
    if (autoSize_ && !picture_.Empty()) width_ = picture_.Width();
    Changed();
  });
}

void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign v) {
  if (v == suiClient && Collection())
    for (int i = 0; i < Collection()->Count(); ++i)
      if (Collection()->Item<TsuiTitleBarSection>(i)->Align() == suiClient) return ShowAdvice(kOneClientSection);
  align_ = v;
  if (v == suiClient) stretch_ = true;
  Changed();
}

void TsuiTitleBarSection::SetWidth(int v) {
  if (width_ == v) return;
  width_ = v;
  Changed();
}

void TsuiTitleBarSection::SetPicture(TBitmap* v) {
  picture_.Assign(v);
  if (autoSize_ && !picture_.Empty()) width_ = picture_.Width();
  Changed();
}

void TsuiTitleBarSection::SetStretch(bool v) {
  stretch_ = align_ == suiClient ? true : v;
  Changed();
}

void TsuiTitleBarSection::SetAutoSize(bool v) {
  autoSize_ = v;
  if (v && !picture_.Empty()) width_ = picture_.Width();
  Changed();
}

// ---------------------------------------------------------------------------
// System menu

KESTU_PUBLISH(TsuiTitleBarPopupMenu) {}

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TComponent* AOwner) : TsuiPopupMenu(AOwner) {
  const wchar_t* captions[] = {kMinimizeCaption, kMaximizeCaption, L"-", kCloseCaption};
  for (const wchar_t* caption : captions) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    Items()->Add(item);
  }
  Items()->Items(0)->SetOnClick([this](TObject*) {
    if (TsuiTitleBar* bar = Bar())
      for (int i = 0; i < bar->Buttons()->Count(); ++i)
        if (bar->Button(i)->ButtonType() == suiMin) return bar->ProcessButtonClick(i);
  });
  Items()->Items(1)->SetOnClick([this](TObject*) {
    if (TsuiTitleBar* bar = Bar())
      for (int i = 0; i < bar->Buttons()->Count(); ++i)
        if (bar->Button(i)->ButtonType() == suiMax) bar->ProcessButtonClick(i);
  });
  Items()->Items(3)->SetOnClick([this](TObject*) {
    if (TsuiTitleBar* bar = Bar())
      if (TCustomForm* host = bar->Host()) host->Close();
  });
  HookItems();
}

TsuiTitleBar* TsuiTitleBarPopupMenu::Bar() const { return dynamic_cast<TsuiTitleBar*>(Owner()); }

void TsuiTitleBarPopupMenu::Popup(int x, int y) {
  UpdateItems();
  TsuiPopupMenu::Popup(x, y);
}

void TsuiTitleBarPopupMenu::UpdateItems() {
  if (TsuiTitleBar* bar = Bar()) {
    bool hasMin = false, hasMax = false, hasClose = false;
    for (int i = 0; i < bar->Buttons()->Count(); ++i) {
      const TsuiTitleBarBtnType type = bar->Button(i)->ButtonType();
      hasMin |= type == suiMin;
      hasMax |= type == suiMax;
      hasClose |= type == suiClose;
    }
    Items()->Items(0)->SetEnabled(hasMin);
    Items()->Items(1)->SetEnabled(hasMax);
    Items()->Items(3)->SetEnabled(hasClose);
  }
}

// ---------------------------------------------------------------------------
// Title bar

KESTU_PUBLISH(TsuiTitleBar) {
  p.Bool("Custom", &TsuiTitleBar::Custom, &TsuiTitleBar::SetCustom, false);
  p.Enum("UIStyle", &TsuiTitleBar::UIStyle, &TsuiTitleBar::SetUIStyle, 3, UIStyleNames());
  p.Ref("FileTheme", &TsuiTitleBar::FileTheme, &TsuiTitleBar::SetFileTheme);
  p.Bool("AutoSize", &TsuiTitleBar::AutoSize, &TsuiTitleBar::SetAutoSize, false);
  p.Collection("Sections", &TsuiTitleBar::Sections);
  p.Collection("Buttons", &TsuiTitleBar::Buttons);
  p.Int("ButtonInterval", &TsuiTitleBar::ButtonInterval, &TsuiTitleBar::SetButtonInterval, 0);
  p.Str("Caption", &TsuiTitleBar::Caption, &TsuiTitleBar::SetCaption);
  p.Bool("FormActive", &TsuiTitleBar::FormActive, &TsuiTitleBar::SetFormActive, true);
  p.Int("LeftBtnXOffset", &TsuiTitleBar::LeftBtnXOffset, &TsuiTitleBar::SetLeftBtnXOffset, 0);
  p.Int("RightBtnXOffset", &TsuiTitleBar::RightBtnXOffset, &TsuiTitleBar::SetRightBtnXOffset, 0);
  p.Bool("DrawAppIcon", &TsuiTitleBar::DrawAppIcon, &TsuiTitleBar::SetDrawAppIcon, false);
  p.Int("RoundCorner", &TsuiTitleBar::RoundCorner, &TsuiTitleBar::SetRoundCorner, 0);
  p.Event("OnCustomBtnsClick", &TsuiTitleBar::SetOnCustomBtnsClick);
  p.Event("OnHelpBtnClick", &TsuiTitleBar::SetOnHelpBtnClick);
}

TsuiTitleBar::TsuiTitleBar(TComponent* AOwner)
    : TPanel(AOwner),
      sections_(TsuiTitleBarSection::StaticClass(), this),
      buttons_(TsuiTitleBarButton::StaticClass(), this) {
  SetControlStyle((ControlStyle() | csCaptureMouse | csOpaque | csDoubleClicks) & ~csAcceptsControls);
  SetAlign(alTop);
  SetParentFont(false);
  Font()->SetColor(clWhite);
  Font()->SetName(L"Tahoma");
  Font()->SetStyle(fsBold);
  sections_.SetOnChange([this](TObject*) { Invalidate(); });
  buttons_.SetOnChange([this](TObject*) { Invalidate(); });
  popup_ = new TsuiTitleBarPopupMenu(this);
  uiStyle_ = FindFormUIStyle(AOwner);
  for (TsuiTitleBarBtnType type : {suiControlBox, suiClose, suiMax, suiMin})
    static_cast<TsuiTitleBarButton*>(buttons_.Add())->SetButtonType(type);
  SetUIStyle(uiStyle_);
}

TsuiTitleBar::~TsuiTitleBar() {
  if (fileTheme_) fileTheme_->RemoveFreeNotification(this);
}

bool TsuiTitleBar::OnThemedFrame() const { return dynamic_cast<const TsuiTitleBarHost*>(Parent()) != nullptr; }

void TsuiTitleBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: return WmEraseBkgnd(m);
    case WM_MOUSEMOVE: return WmMouseMove(m);
    case WM_LBUTTONDBLCLK: return WmDoubleClick(m);
    case WM_NCHITTEST: return WmNcHitTest(m);
    case WM_NCLBUTTONDOWN: return WmNcForward(m);
    case WM_NCLBUTTONUP: return WmNcForward(m);
    case WM_NCMOUSEMOVE: return WmNcForward(m);
    case CM_MOUSELEAVE: return CmMouseLeave(m);
    default: return TPanel::WndProc(m);
  }
}

void TsuiTitleBar::SetUIStyle(TsuiUIStyle v) {
  uiStyle_ = v;
  if (custom_) return;
  const FileThemeChoice choice = ResolveFileThemeStyle(fileTheme_, v);
  const TsuiUIStyle style = choice.UseFile ? v : choice.Style;
  ApplySections(style);
  leftBtnXOffset_ = ElementInteger(fileTheme_, style, TsuiElement::TitleBarButtonLeftOffsetInt);
  rightBtnXOffset_ = ElementInteger(fileTheme_, style, TsuiElement::TitleBarButtonRightOffsetInt);
  outline_ = ElementColour(fileTheme_, style, TsuiElement::FormBorderColor);
  TBitmap strip;
  ElementBitmap(fileTheme_, style, TsuiElement::TitleBarButtonImage, &strip);
  rowHeight_ = strip.Height();
  rowTop_ = ElementInteger(fileTheme_, style, TsuiElement::TitleBarButtonTopInt);
  if (TCustomForm* host = Host())
    host->Constraints()->SetMinWidth(ElementInteger(fileTheme_, style, TsuiElement::FormMinWidthInt));
  roundCorner_ = ElementInteger(fileTheme_, style, TsuiElement::FormRoundCornerInt);

  for (int i = 0; i < buttons_.Count(); ++i) Button(i)->SetUIStyle(style);
  popup_->SetFileTheme(fileTheme_);
  popup_->SetUIStyle(style);
  if (OnThemedFrame()) UpdateRegion();
  if (!applyingTheme_) Font()->SetColor(style == TsuiUIStyle::MacOS ? clBlack : clWhite);
  SetAutoSize(autoSize_);
  Invalidate();
}

void TsuiTitleBar::AddSection(TsuiUIStyle style, int element, TsuiTitleBarAlign align) {
  auto* section = static_cast<TsuiTitleBarSection*>(sections_.Add());
  ElementBitmap(fileTheme_, style, element, section->Picture());
  if (align == suiClient)
    section->SetAlign(suiClient);
  else
    section->SetAutoSize(true), section->SetAlign(align);
}

void TsuiTitleBar::ApplySections(TsuiUIStyle style) {
  sections_.Clear();
  AddSection(style, TsuiElement::TitleBarLeftImage, suiLeft);
  AddSection(style, TsuiElement::TitleBarRightImage, suiRight);
  AddSection(style, TsuiElement::TitleBarClientImage, suiClient);
}

void TsuiTitleBar::SetFileTheme(TsuiFileTheme* v) {
  if (fileTheme_ && fileTheme_ != v) fileTheme_->RemoveFreeNotification(this);
  fileTheme_ = v;
  if (v) v->FreeNotification(this);
  applyingTheme_ = true;
  SetUIStyle(uiStyle_);
  applyingTheme_ = false;
}

void TsuiTitleBar::Notification(TComponent* AComponent, TOperation Operation) {
  TPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == fileTheme_) {
    fileTheme_ = nullptr;
    SetUIStyle(TsuiUIStyle::DeepBlue);
  }
  for (int i = 0; i < buttons_.Count(); ++i)
    if (Button(i)->ControlBoxMenu() == AComponent) Button(i)->SetControlBoxMenu(nullptr);
}

void TsuiTitleBar::SetAutoSize(bool v) {
  if (sections_.Count() == 0) {
    autoSize_ = false;
    return;
  }
  autoSize_ = v;
  SetHeight(Section(0)->Picture()->Height());
}

void TsuiTitleBar::SetButtonInterval(int v) {
  if (buttonInterval_ == v) return;
  buttonInterval_ = v;
  Invalidate();
}

void TsuiTitleBar::SetCaption(const String& v) {
  if (caption_ == v) return;
  caption_ = v;
  Invalidate();
}

void TsuiTitleBar::SetFormActive(bool v) {
  formActive_ = v;
  Invalidate();
}

void TsuiTitleBar::SetLeftBtnXOffset(int v) {
  if (leftBtnXOffset_ == v) return;
  leftBtnXOffset_ = v;
  Invalidate();
}

void TsuiTitleBar::SetRightBtnXOffset(int v) {
  if (rightBtnXOffset_ == v) return;
  rightBtnXOffset_ = v;
  Invalidate();
}

void TsuiTitleBar::SetDrawAppIcon(bool v) {
  if (drawAppIcon_ == v) return;
  drawAppIcon_ = v;
  Invalidate();
}

void TsuiTitleBar::SetRoundCorner(int v) {
  if (roundCorner_ == v) return;
  roundCorner_ = v;
  if (OnThemedFrame()) UpdateRegion();
  Invalidate();
}

void TsuiTitleBar::UpdateRegion() {
  TCustomForm* host = Host();
  if (!host || !host->HandleAllocated() || HasState(csDesigning)) return;
  const int r = roundCorner_;
  const RECT c = host->ClientRect();
  GdiHandle<HRGN> region(CreateRoundRectRgn(c.left, c.top, c.right + 1, c.bottom + 1, r, r));
  if (!region) return;
  if (r > 0) {
    GdiHandle<HRGN> left(CreateRectRgn(c.left, c.bottom - 2 * r, c.left + 2 * r, c.bottom));
    GdiHandle<HRGN> right(CreateRectRgn(c.right - 2 * r, c.bottom - 2 * r, c.right, c.bottom));
    CombineRgn(region.Get(), region.Get(), left.Get(), RGN_OR);
    CombineRgn(region.Get(), region.Get(), right.Get(), RGN_OR);
  }
  SetWindowRegion(host->Handle(), std::move(region), true);
}

void TsuiTitleBar::RefreshMaxButtons() {
  if (custom_) return;
  for (int i = 0; i < buttons_.Count(); ++i)
    if (Button(i)->ButtonType() == suiMax) Button(i)->LoadPictures();
  Invalidate();
}

void TsuiTitleBar::ProcessButtonClick(int index) {
  TCustomForm* host = Host();
  if (!host || index < 0 || index >= buttons_.Count()) return;
  TsuiTitleBarButton* button = Button(index);
  switch (button->ButtonType()) {
    case suiMax:
      host->SetWindowState(HostMaximised(host) ? wsNormal : wsMaximized);
      if (!OnThemedFrame() && HostMaximised(host)) {
        RECT work;
        GetWorkArea(work);
        --work.bottom;
        SetFormBounds(host, work);
      }
      button->LoadPictures();
      Invalidate();
      break;
    case suiMin:
      if (Application && host == Application->MainForm())
        SendMessageW(host->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
      else
        ShowWindow(host->Handle(), SW_SHOWMINIMIZED);
      break;
    case suiClose: host->Close(); break;
    case suiControlBox:
      if (TPopupMenu* menu = button->ControlBoxMenu()) {
        const POINT p = ClientToScreen(POINT{0, Height()});
        menu->Popup(p.x, p.y);
      }
      break;
    case suiHelp:
    case suiCustom: break;
  }
}

void TsuiTitleBar::PopupSystemMenu(int x, int y) { popup_->Popup(x, y); }

void TsuiTitleBar::Paint() {
  TBitmap bitmap(Width(), Height());
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->Assign(Font());
  DrawSections(&bitmap);
  DrawButtonsAndCaption(&bitmap);
  if (uiStyle_ != TsuiUIStyle::WinXP && roundCorner_ != 0 && OnThemedFrame()) {
    canvas->Pen()->SetColor(outline_);
    canvas->Brush()->SetStyle(bsClear);
    canvas->RoundRect(-1, 0, Width() + 1, Height() + 50, roundCorner_ + 1, roundCorner_);
  }
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), canvas->Handle(), 0, 0, SRCCOPY);
}

void TsuiTitleBar::DrawSections(TBitmap* bitmap) {
  TCanvas* canvas = bitmap->Canvas();
  const int W = bitmap->Width(), H = bitmap->Height();
  int left = 0, right = W;
  TsuiTitleBarSection* client = nullptr;
  auto drawAt = [&](TsuiTitleBarSection* s, int x) {
    TBitmap* picture = s->Picture();
    if (picture->Empty()) return;
    if (s->Stretch()) {
      canvas->StretchDraw(RECT{x, 0, x + s->Width(), H}, picture);
    } else {
      BitBlt(canvas->Handle(), x, 0, s->Width(), H, picture->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
  };
  for (int i = 0; i < sections_.Count(); ++i) {
    TsuiTitleBarSection* s = Section(i);
    switch (s->Align()) {
      case suiLeft:
        drawAt(s, left);
        left += s->Width();
        break;
      case suiRight:
        if (W - (left - 1) >= s->Width()) {
          drawAt(s, right - s->Width());
          right -= s->Width();
        }
        break;
      case suiClient: client = s; break;
    }
  }
  if (client && !client->Picture()->Empty()) canvas->StretchDraw(RECT{left, 0, right, H}, client->Picture());
}

TsuiTitleBar::TitleBarLayout TsuiTitleBar::LayoutFor(int W) {
  TitleBarLayout layout;
  int x = W + rightBtnXOffset_ + 1;
  for (int i = 0; i < buttons_.Count(); ++i) {
    TsuiTitleBarButton* b = Button(i);
    if (!b->Visible() || b->ButtonType() == suiControlBox) continue;
    const int pw = b->PicNormal()->Width(), ph = b->PicNormal()->Height();
    x -= pw + buttonInterval_ + 1;
    layout.Buttons.push_back({i, PixRect{x, b->Top(), x + pw, b->Top() + ph}});
  }
  int l = leftBtnXOffset_;
  for (int i = 0; i < buttons_.Count(); ++i) {
    TsuiTitleBarButton* b = Button(i);
    if (b->ButtonType() != suiControlBox) continue;
    const int pw = b->PicNormal()->Width(), ph = b->PicNormal()->Height();
    layout.Buttons.push_back({i, PixRect{l, b->Top(), l + pw, b->Top() + ph}});
    l += drawAppIcon_ ? 21 : pw + 5;
    break;
  }
  if (l == 0) l = 6;
  layout.CaptionLeft = l;
  layout.CaptionRight = x;
  return layout;
}

void TsuiTitleBar::DrawButtonsAndCaption(TBitmap* bitmap) {
  TCanvas* canvas = bitmap->Canvas();
  POINT cursor{-1, -1};
  if (HandleAllocated()) {
    GetCursorPos(&cursor);
    cursor = ScreenToClient(cursor);
  }
  hover_ = -1;
  auto pictureFor = [&](TsuiTitleBarButton* b, const PixRect& r, int index) {
    if (PointInRectInclusive(cursor.x, cursor.y, r)) {
      hover_ = index;
      return pressed_ ? b->PicMouseDown() : b->PicMouseOn();
    }
    return b->PicNormal();
  };
  auto drawPicture = [&](TsuiTitleBarButton* b, TBitmap* picture, int x) {
    TBitmap work(b->PicNormal()->Width(), b->PicNormal()->Height());
    work.Canvas()->Draw(0, 0, picture);
    work.SetTransparent(b->Transparent());
    canvas->Draw(x, b->Top(), &work);
  };

  const TitleBarLayout layout = LayoutFor(bitmap->Width());
  for (const auto& [i, r] : layout.Buttons) {
    TsuiTitleBarButton* b = Button(i);
    if (b->ButtonType() == suiControlBox && drawAppIcon_) {
      if (PointInRectInclusive(cursor.x, cursor.y, r)) hover_ = i;
      TIcon icon;
      HICON appIcon = Application && Application->MainForm() ? Application->MainForm()->Icon()->Handle() : nullptr;
      if (appIcon)
        icon.SetHandle(CopyIcon(appIcon));
      else
        icon.LoadFromResourceName(GetModuleHandleW(nullptr), L"MAINICON", 16);
      DrawIconEx(canvas->Handle(), r.Left + 3, b->Top(), icon.Handle(), 16, 16, 0, nullptr, DI_NORMAL);
    } else {
      drawPicture(b, pictureFor(b, r, i), r.Left);
    }
  }

  canvas->Font()->Assign(Font());
  if (!formActive_) canvas->Font()->SetColor(clInactiveCaption);
  const int l = layout.CaptionLeft;
  const String text = FitCaption(canvas, caption_, layout.CaptionRight - l);
  const int textHeight = canvas->TextHeight(text.empty() ? String(L" ") : text);
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(l, (rowHeight_ - textHeight) / 2 + rowTop_, text);
}

void TsuiTitleBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TPanel::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  pressed_ = true;
  Repaint();
  TCustomForm* host = Host();
  // The second press of a double click toggles maximise instead of dragging.
  if (hover_ == -1 && host && !HostMaximised(host) && !(shift & ssDouble)) {
    ReleaseCapture();
    SendMessageW(host->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    pressed_ = false;
  }
}

void TsuiTitleBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TPanel::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  const int index = hover_;
  pressed_ = false;
  ReleaseButton(index);
  if (HandleAllocated()) Invalidate();
}

void TsuiTitleBar::ReleaseButton(int index) {
  if (index < 0 || index >= buttons_.Count()) return;
  TsuiTitleBarButton* b = Button(index);
  if (b->ButtonType() != suiControlBox || b->ControlBoxMenu()) {
    const TsuiTitleBarBtnType type = b->ButtonType();
    ProcessButtonClick(index);
    if (type == suiCustom && onCustomBtnsClick_)
      onCustomBtnsClick_(this, index);
    else if (type == suiHelp && onHelpBtnClick_)
      onHelpBtnClick_(this, index);
  } else {
    const POINT p = ClientToScreen(POINT{0, Height()});
    PopupSystemMenu(p.x, p.y);
  }
}

std::vector<TsuiTitleBar::TitleBarLayout::Place> TsuiTitleBar::ButtonsLeftToRight() {
  std::vector<TitleBarLayout::Place> places = LayoutFor(Width()).Buttons;
  std::stable_sort(places.begin(), places.end(), [](const auto& a, const auto& b) { return a.Rect.Left < b.Rect.Left; });
  return places;
}

TAccessibleElement TsuiTitleBar::AccessibleSelf() {
  TAccessibleElement e;
  e.Role = ROLE_SYSTEM_TITLEBAR;
  e.Name = caption_;
  if (!IsWindowVisible(Handle())) e.State |= STATE_SYSTEM_INVISIBLE;
  e.Bounds = ScreenBoundsOf(Handle());
  return e;
}

std::vector<TAccessibleElement> TsuiTitleBar::AccessibleParts() {
  std::vector<TAccessibleElement> parts;
  const bool maximised = HostMaximised(Host());
  for (const auto& [i, r] : ButtonsLeftToRight()) {
    const RECT bounds = ClientToScreenRect(Handle(), RECT{r.Left, r.Top, r.Right, r.Bottom});
    const bool hot = hover_ == i;
    parts.push_back(PartButtonElement(TitleButtonName(Button(i)->ButtonType(), maximised, i), bounds, hot && pressed_, hot));
  }
  return parts;
}

void TsuiTitleBar::AccessibleDefaultAction(int child) {
  const std::vector<TitleBarLayout::Place> places = ButtonsLeftToRight();
  if (child >= 1 && std::size_t(child) <= places.size()) ReleaseButton(places[std::size_t(child) - 1].Index);
}

void TsuiTitleBar::WmMouseMove(TMessage& m) {
  TPanel::WndProc(m);
  Invalidate();
}

void TsuiTitleBar::CmMouseLeave(TMessage& m) {
  TPanel::WndProc(m);
  Invalidate();
}

void TsuiTitleBar::WmDoubleClick(TMessage& m) {
  TPanel::WndProc(m);
  if (hover_ == -1) {
    for (int i = 0; i < buttons_.Count(); ++i)
      if (Button(i)->ButtonType() == suiMax) return ProcessButtonClick(i);
  } else if (hover_ < buttons_.Count() && Button(hover_)->ButtonType() == suiControlBox) {
    if (TCustomForm* host = Host()) host->Close();
  }
}

void TsuiTitleBar::WmNcHitTest(TMessage& m) {
  TPanel::WndProc(m);
  TCustomForm* host = Host();
  if (!host || HostMaximised(host)) return;
  if (host->FormStyle() == fsMDIForm && m.Result == HTCLIENT) m.Result = HTTRANSPARENT;
  auto* frame = dynamic_cast<TsuiTitleBarHost*>(Parent());
  if (!frame || !frame->HostWasSizeable()) return;
  const POINT p = ScreenToClient(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
  if (p.y > kResizeBand) return;
  if (p.x <= kResizeBand)
    m.Result = HTTOPLEFT;
  else if (p.x > host->ClientWidth() - 5)
    m.Result = HTTOPRIGHT;
  else
    m.Result = HTTOP;
}

void TsuiTitleBar::WmNcForward(TMessage& m) {
  TCustomForm* host = Host();
  if (!host) return TPanel::WndProc(m);
  m.Result = SendMessageW(host->Handle(), m.Msg, m.WParam, m.LParam);
}

}  // namespace kestu

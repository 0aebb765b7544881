#include "skin/sPanel.h"

#include "skin/core/SectionPaint.h"

namespace kestu {
namespace {

// Every visible child with a shadow (its section's, or its own setting)
// casts it onto the cache; children being destroyed end the loop.
void PaintChildShadows(TWinControl* container, TBitmap* cache) {
  HDC dc = cache->Canvas()->Handle();
  for (TControl* child : std::vector(container->ControlList())) {
    if (child->HasState(csDestroying)) break;
    if (!child->Visible()) continue;
    StyleQueryReply reply = QueryStyleOf(child);
    if (reply.Kind <= 0 || !reply.Style) continue;
    auto* style = static_cast<TsGenStyle*>(reply.Style);
    if (style->CastsShadow()) style->PaintShadow(dc, 0, 0);
  }
}

UINT AlignmentFormat(TAlignment alignment) {
  switch (alignment) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    default: return DT_CENTER;
  }
}

}  // namespace

// ---- transparent panel

TsTransparentPanel::TsTransparentPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
  SetControlStyle((ControlStyle() | csAcceptsControls) & ~csOpaque);
  SetTabStop(false);
}

void TsTransparentPanel::SetBevelWidth(int value) {
  if (value == bevelWidth_ || value < 0) return;
  bevelWidth_ = value;
  Realign();
  Invalidate();
}

void TsTransparentPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

int TsTransparentPanel::ContentInset() { return BorderWidth(); }

void TsTransparentPanel::AdjustClientRect(RECT& r) {
  TCustomControl::AdjustClientRect(r);  // takes off BorderWidth
  const int bevels = ContentInset() - BorderWidth();
  InflateRect(&r, -bevels, -bevels);
}

void TsTransparentPanel::WriteCaption(TCanvas* canvas, PixRect rect) {
  if (Caption().empty()) return;
  HDC dc = canvas->Handle();
  SelectedObject font(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SIZE w{};
  GetTextExtentPoint32W(dc, L"W", 1, &w);
  rect.Top = (rect.Top + rect.Bottom - w.cy) / 2;
  rect.Bottom = rect.Top + w.cy;
  UINT format = AlignmentFormat(alignment_) | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
  if (UseRightToLeftReading()) format |= DT_RTLREADING;
  DrawControlCaption(dc, Caption(), Enabled(), format, rect);
}

void TsTransparentPanel::Paint() {
  DoPaintEvent(Canvas());
  const int inset = ContentInset();
  WriteCaption(Canvas(), {inset, 0, Width() - inset, Height()});
}

TAccessibleElement TsTransparentPanel::AccessibleSelf() {
  TAccessibleElement e;
  e.Role = ROLE_SYSTEM_GROUPING;
  e.Name = Caption();
  e.State = WindowStates(*this) & ~STATE_SYSTEM_FOCUSABLE;
  e.Bounds = ScreenBoundsOf(Handle());
  return e;
}

std::vector<TAccessibleElement> TsTransparentPanel::AccessibleParts() {
  std::vector<TAccessibleElement> parts;
  for (TControl* c : ControlList())
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible()) parts.push_back(WindowPart(w->Handle()));
  return parts;
}

void TsTransparentPanel::WndProc(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;  // whatever lies behind stays
    return;
  }
  TCustomControl::WndProc(m);
}

// ---- skinned panel

TsCustomPanel::TsCustomPanel(TComponent* AOwner) : TsTransparentPanel(AOwner) {
  style_ = std::make_unique<TsPassiveBGStyle>(this);
  style_->ControlKindCode = 68;
  style_->BackgroundDirty = true;
  SetControlStyle(ControlStyle() | csOpaque);
}

TsCustomPanel::~TsCustomPanel() = default;

void TsCustomPanel::Loaded() {
  TsTransparentPanel::Loaded();
  style_->RefreshLookups();
}

void TsCustomPanel::SetBevelInner(TsControlBevel value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  Realign();
  style_->Invalidate();
}

void TsCustomPanel::SetBevelOuter(TsControlBevel value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  style_->Painting()->SetBevel(value);
  Realign();
  style_->Invalidate();
}

int TsCustomPanel::ContentInset() {
  int inset = BorderWidth();
  if (style_->GetBevel() != cbNone) inset += BevelWidth();
  if (bevelInner_ != cbNone) inset += BevelWidth();
  return inset;
}

void TsCustomPanel::Invalidate() {
  MarkChanged();
  TsTransparentPanel::Invalidate();
}

void TsCustomPanel::ComposeSkinned(TBitmap* cache) {
  const TsSkinData& skin = TsSkinData::Instance();
  PaintSectionItem(skin, style_->SectionIndex, StringToUtf8(style_->SkinSection()), style_->QueryParentCache(),
                   cache->Rows(), {Left(), Top()}, {0, 0, Width(), Height()}, false, false);
  PaintChildShadows(this, cache);
}

void TsCustomPanel::ComposeUnskinned(TBitmap* cache) {
  style_->PaintBG(cache);  // with the children's shadows
  const bool soft = style_->SoftControl();
  PaintBevel(cache->Rows(), {0, 0, Width(), Height()}, BevelWidth(), soft, bevelOuter_);
  const int d = BorderWidth() + BevelWidth();
  PaintBevel(cache->Rows(), {d, d, Width() - d, Height() - d}, BevelWidth(), soft, bevelInner_);
}

void TsCustomPanel::Compose() {
  style_->PrepareCacheBitmap();
  TBitmap* cache = style_->CacheBitmap.get();
  const int inset = ContentInset();
  const PixRect captionRect{inset, 0, Width() - inset, Height()};
  DoPaintEvent(cache->Canvas());
  if (style_->Section())
    ComposeSkinned(cache);
  else
    ComposeUnskinned(cache);
  WriteCaption(cache->Canvas(), captionRect);
}

void TsCustomPanel::PaintPlain() {
  HDC dc = Canvas()->Handle();
  FillDeviceRect(dc, {0, 0, Width(), Height()}, ResolveColor(std::uint32_t(Color())));
  DoPaintEvent(Canvas());
  const int inset = ContentInset();
  WriteCaption(Canvas(), {inset, 0, Width() - inset, Height()});
}

void TsCustomPanel::Paint() {
  if (HasState(csDestroying) || !style_) return;
  if (Parent() && (Parent()->ControlState() & csDestroyingHandle)) return;  // being recreated
  if (!ReadyForPainting(this) || !style_->CacheBitmap) return PaintPlain();
  const bool changed = style_->BackgroundDirty;
  if (changed) Compose();
  style_->CopyCache(Canvas()->Handle(), 0, 0, Width(), Height());
  NotifySkinnedChildren(this, changed);
}

void TsCustomPanel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE: case WM_WINDOWPOSCHANGED: case CM_VISIBLECHANGED: case CM_TEXTCHANGED: MarkChanged(); break;
    default: break;
  }
  m.Result = 0;
  style_->WndProc(m);
  if (m.Result == 1) return;
  TsTransparentPanel::WndProc(m);
}

// ---- size grip

TAccessibleElement TsGrip::AccessibleSelf() {
  TAccessibleElement e = TsCustomPanel::AccessibleSelf();
  e.Role = ROLE_SYSTEM_GRIP;
  e.Name.clear();
  return e;
}

TsGrip::TsGrip(TComponent* AOwner) : TsCustomPanel(AOwner) {
  SetCaption(L" ");
  sStyle()->SetSkinSection(L"TSGRIP");
  sStyle()->Background()->Gradient()->SetData(L"");
  SetAlign(alNone);
  SetBounds(Left(), Top(), 20, 20);
}

bool TsGrip::PaintFormCorner() {
  if (!CornerVisible || !LinkedForm || !LinkedForm->HandleAllocated()) return false;
  CacheReply = {};
  SendMessageW(LinkedForm->Handle(), SKM_QUERYCACHE, 0, 0);
  const ParentCacheRef reply = CacheReply;
  CacheReply = {};
  if (!reply.Ready()) return false;
  // What the form's frame shows behind the grip, its grip glyph included.
  const POINT at = LinkedForm->ScreenToClient(ClientToScreen(POINT{0, 0}));
  DibSection block(Width(), Height());
  if (!block.Valid()) return false;
  CopyRect(block.Rows(), 0, 0, reply.Bitmap,
           {at.x + reply.X, at.y + reply.Y, at.x + reply.X + Width(), at.y + reply.Y + Height()});
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), block.Dc(), 0, 0, SRCCOPY);
  return true;
}

void TsGrip::Paint() {
  MarkChanged();
  if (!PaintFormCorner()) TsCustomPanel::Paint();
  // Stays above its siblings; asking only when it is not already there.
  if (HandleAllocated() && GetWindow(Handle(), GW_HWNDFIRST) != Handle())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TsGrip::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button != mbLeft || !LinkedForm || !LinkedForm->HandleAllocated())
    return TsCustomPanel::MouseDown(button, shift, x, y);
  ReleaseCapture();
  // The form sizes itself from its bottom-right corner as if that corner of
  // its frame had been pressed.
  const POINT screen = ClientToScreen(POINT{x, y});
  PostMessageW(LinkedForm->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(screen.x, screen.y));
}

KESTU_PUBLISH(TsTransparentPanel) {
  using P = TsTransparentPanel;
  static const std::vector<std::string> alignments{"taLeftJustify", "taRightJustify", "taCenter"};
  p.Int("BevelWidth", &P::BevelWidth, &P::SetBevelWidth, 2);
  p.Enum("Alignment", &P::Alignment, &P::SetAlignment, taCenter, alignments);
  p.Bool("FullRepaint", &P::FullRepaint, &P::SetFullRepaint, true);
  p.Bool("Locked", &P::Locked, &P::SetLocked, false);
  p.Event("OnPaint", &P::SetOnPaint);
}

KESTU_PUBLISH(TsCustomPanel) {
  using P = TsCustomPanel;
  static const std::vector<std::string> bevels(std::begin(kControlBevelNames), std::end(kControlBevelNames));
  p.Object("sStyle", &P::sStyle);
  p.Enum("BevelInner", &P::BevelInner, &P::SetBevelInner, cbNone, bevels);
  p.Enum("BevelOuter", &P::BevelOuter, &P::SetBevelOuter, cbRaisedSoft, bevels);
  p.Bool("Ctl3D", &P::Ctl3D, &P::SetCtl3D, true);
  p.Int("BorderStyle", &P::BorderStyle, &P::SetBorderStyle, 0);
}

KESTU_PUBLISH(TsPanel) {}
KESTU_PUBLISH(TsGrip) {}

}  // namespace kestu

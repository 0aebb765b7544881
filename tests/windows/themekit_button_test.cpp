// Style helpers and the themed push button: strips and the nine-piece
// drawing in pixels, the start style, faces by state, focus marks, glyph
// placement, keyboard and mouse clicks, the repeat timer.
#include <gtest/gtest.h>

#include "framework/ActnList.h"
#include "framework/FormReader.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "themekit/SUIButton.h"
#include "themekit/SUIForm.h"
#include "themekit/ThemeDrawing.h"

namespace kestu {

class TButtonActionRoot : public TComponent {
  KESTU_CLASS(TButtonActionRoot, TComponent)
 public:
  using TComponent::TComponent;
};
KESTU_PUBLISH(TButtonActionRoot) {}

namespace {

constexpr TColor kMagenta = TColor(0x00FF00FF);

void Pump(int ms) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

// A bitmap whose pixel (x, y) has red x and green y.
std::unique_ptr<TBitmap> Gradient(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->Canvas()->SetPixel(x, y, TColor(RGB(x, y, 0)));
  return b;
}

TEST(ThemekitHelpers, SplitStateImageTakesEqualSlicesFromTheLeft) {
  auto strip = Gradient(100, 5);
  TBitmap slice;
  SplitStateImage(strip.get(), &slice, 3, 3);
  EXPECT_EQ(33, slice.Width());
  EXPECT_EQ(5, slice.Height());
  EXPECT_EQ(TColor(RGB(66, 0, 0)), slice.Canvas()->Pixel(0, 0));
  EXPECT_EQ(TColor(RGB(98, 4, 0)), slice.Canvas()->Pixel(32, 4));  // column 99 is never used

  TBitmap titleButtons;
  LoadStyleStateImage(TsuiUIStyle::WinXP, TsuiElement::TitleBarButtonImage, &titleButtons, 16, 18);
  EXPECT_EQ(21, titleButtons.Width());
  EXPECT_EQ(21, titleButtons.Height());
}

TEST(ThemekitHelpers, StyleBitmapsComeFromTheNamedResources) {
  TBitmap b;
  LoadStyleBitmap(TsuiUIStyle::DeepBlue, TsuiElement::ScrollButtonImage, &b);
  EXPECT_EQ(72, b.Width());
  EXPECT_EQ(17, b.Height());
  TBitmap untouched(3, 4);
  LoadStyleBitmap(TsuiUIStyle::FromThemeFile, TsuiElement::ButtonImage, &untouched);
  LoadStyleBitmap(TsuiUIStyle::MacOS, TsuiElement::FormMinWidthInt, &untouched);
  EXPECT_EQ(3, untouched.Width());
  EXPECT_EQ(4, untouched.Height());
  LoadStyleBitmap(TsuiUIStyle::MacOS, TsuiElement::ButtonImage, nullptr);  // nothing to load into
}

TEST(ThemekitHelpers, SlicedDrawingKeepsCornersAndKeysMagenta) {
  // 4 x 4 source: quadrants red, green, blue, white; the middle column and
  // row of the stretched pieces come from around the centre.
  TBitmap source(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      source.Canvas()->SetPixel(x, y, x < 2 ? (y < 2 ? clRed : clBlue) : (y < 2 ? clLime : clWhite));
  TBitmap target(40, 30);
  FillColorRect(target.Canvas(), RECT{0, 0, 40, 30}, clGray);
  DrawSlicedBitmap(&source, target.Canvas(), RECT{0, 0, 40, 30}, false);
  EXPECT_EQ(clRed, target.Canvas()->Pixel(0, 0));
  EXPECT_EQ(clRed, target.Canvas()->Pixel(1, 1));
  EXPECT_EQ(clLime, target.Canvas()->Pixel(39, 0));
  EXPECT_EQ(clBlue, target.Canvas()->Pixel(0, 29));
  EXPECT_EQ(clWhite, target.Canvas()->Pixel(39, 29));

  // A magenta corner lets the background through only when asked.
  source.Canvas()->SetPixel(0, 0, kMagenta);
  FillColorRect(target.Canvas(), RECT{0, 0, 40, 30}, clGray);
  DrawSlicedBitmap(&source, target.Canvas(), RECT{0, 0, 40, 30}, true);
  EXPECT_EQ(clGray, target.Canvas()->Pixel(0, 0));
  DrawSlicedBitmap(&source, target.Canvas(), RECT{0, 0, 40, 30}, false);
  EXPECT_EQ(kMagenta, target.Canvas()->Pixel(0, 0));
}

TEST(ThemekitHelpers, StartStyleIsTheFirstFramesAndPushedToChildren) {
  TForm plain(nullptr);
  EXPECT_EQ(TsuiUIStyle::DeepBlue, FindFormUIStyle(&plain));
  EXPECT_EQ(TsuiUIStyle::DeepBlue, FindFormUIStyle(nullptr));

  TForm host(nullptr);
  host.SetClientSize(300, 200);
  auto* frame = new TsuiForm(&host);
  frame->SetUIStyle(TsuiUIStyle::Protein);
  EXPECT_EQ(TsuiUIStyle::Protein, FindFormUIStyle(&host));
  auto* button = new TsuiButton(&host);
  EXPECT_EQ(TsuiUIStyle::Protein, button->UIStyle());
  button->SetParent(frame);
  auto* other = new TButton(&host);
  other->SetParent(frame);
  ApplyStyleToControls(frame, TsuiUIStyle::BlueGlass, nullptr);
  EXPECT_EQ(TsuiUIStyle::BlueGlass, button->UIStyle());
  EXPECT_TRUE(button->Transparent());

  // A second frame on the same host is refused.
  EXPECT_THROW(new TsuiForm(&host), EComponentError);
}

TEST(ThemekitHelpers, WorkAreaBoundsAndMenuLines) {
  RECT work{};
  GetWorkArea(work);
  EXPECT_GT(work.right - work.left, 0);
  TForm form(nullptr);
  SetFormBounds(&form, RECT{10, 20, 310, 220});
  EXPECT_EQ(10, form.Left());
  EXPECT_EQ(20, form.Top());
  EXPECT_EQ(300, form.Width());
  EXPECT_EQ(200, form.Height());

  TBitmap canvas(50, 10);
  FillColorRect(canvas.Canvas(), RECT{0, 0, 50, 10}, clWhite);
  DrawMenuSeparatorLine(canvas.Canvas(), RECT{0, 0, 50, 10}, clRed, 26);
  EXPECT_EQ(clWhite, canvas.Canvas()->Pixel(29, 2));
  EXPECT_EQ(clRed, canvas.Canvas()->Pixel(30, 2));
  EXPECT_EQ(clRed, canvas.Canvas()->Pixel(47, 2));
  EXPECT_EQ(clWhite, canvas.Canvas()->Pixel(48, 2));
  EXPECT_EQ(clWhite, canvas.Canvas()->Pixel(35, 3));
}

TEST(ThemekitButton, GlyphPlacementFollowsTheLayout) {
  // 80 x 27 button, 16 x 16 glyph, 30 x 13 text, spacing 4.
  auto at = PlaceGlyph(blGlyphLeft, 80, 27, 16, 16, 30, 13, 4);
  EXPECT_EQ(15, at.Glyph.x);
  EXPECT_EQ(5, at.Glyph.y);
  EXPECT_EQ(35, at.Text.x);
  EXPECT_EQ(7, at.Text.y);
  at = PlaceGlyph(blGlyphRight, 80, 27, 16, 16, 30, 13, 4);
  EXPECT_EQ(49, at.Glyph.x);
  EXPECT_EQ(15, at.Text.x);
  at = PlaceGlyph(blGlyphTop, 80, 60, 16, 16, 30, 13, 4);
  EXPECT_EQ(32, at.Glyph.x);
  EXPECT_EQ(13, at.Glyph.y);
  EXPECT_EQ(25, at.Text.x);
  EXPECT_EQ(33, at.Text.y);
  at = PlaceGlyph(blGlyphBottom, 80, 60, 16, 16, 30, 13, 4);
  EXPECT_EQ(30, at.Glyph.y);
  EXPECT_EQ(13, at.Text.y);
  // Halvings truncate toward zero, also below zero.
  at = PlaceGlyph(blGlyphLeft, 10, 27, 16, 16, 30, 13, 4);
  EXPECT_EQ(-20, at.Glyph.x);
}

class ButtonHost : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(nullptr);
    form->SetBorderStyle(bsSingle);
    form->SetClientSize(300, 120);
    form->SetColor(clAqua);
    button = new TsuiButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 90, 30);
    form->Show();
    Pump(50);
  }
  void TearDown() override { delete form; }

  // What the button paints, in a bitmap of its size.
  std::unique_ptr<TBitmap> Face() {
    auto face = std::make_unique<TBitmap>(button->Width(), button->Height());
    button->Perform(WM_PAINT, WPARAM(face->Canvas()->Handle()), 0);
    GdiFlush();
    return face;
  }

  TForm* form = nullptr;
  TsuiButton* button = nullptr;
};

TEST_F(ButtonHost, SizeStyleAndTransparency) {
  TsuiButton fresh(nullptr);
  EXPECT_EQ(80, fresh.Width());
  EXPECT_EQ(27, fresh.Height());
  EXPECT_EQ(TsuiUIStyle::DeepBlue, fresh.UIStyle());
  EXPECT_EQ(0u, fresh.ResHandle());
  for (auto [style, transparent] : {std::pair{TsuiUIStyle::MacOS, true}, {TsuiUIStyle::WinXP, false},
                                    {TsuiUIStyle::DeepBlue, false}, {TsuiUIStyle::Protein, false},
                                    {TsuiUIStyle::BlueGlass, true}}) {
    button->SetUIStyle(style);
    EXPECT_EQ(transparent, button->Transparent());
  }
  button->SetUIStyle(TsuiUIStyle::MacOS);
  button->SetAutoSize(true);
  EXPECT_EQ(84, button->Width());
  EXPECT_EQ(23, button->Height());
  button->SetUIStyle(TsuiUIStyle::FromThemeFile);
  button->SetAutoSize(true);
  EXPECT_EQ(24, button->Width());
  EXPECT_EQ(21, button->Height());
}

TEST_F(ButtonHost, FaceFollowsTheStateImages) {
  button->SetUIStyle(TsuiUIStyle::WinXP);
  TBitmap normal, over, down;
  LoadStyleStateImage(TsuiUIStyle::WinXP, TsuiElement::ButtonImage, &normal, 1, 3);
  LoadStyleStateImage(TsuiUIStyle::WinXP, TsuiElement::ButtonImage, &down, 3, 3);
  // The top-left corner piece is copied 1:1.
  EXPECT_EQ(normal.Canvas()->Pixel(1, 1), Face()->Canvas()->Pixel(1, 1));
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(button->IsPressed());
  EXPECT_EQ(down.Canvas()->Pixel(1, 1), Face()->Canvas()->Pixel(1, 1));
  // Dragged off: the normal face, and releasing outside does not click.
  int clicks = 0;
  button->SetOnClick([&](TObject*) { ++clicks; });
  SendMessageW(button->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 5));
  EXPECT_FALSE(button->IsPressed());
  EXPECT_EQ(normal.Canvas()->Pixel(1, 1), Face()->Canvas()->Pixel(1, 1));
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
  EXPECT_EQ(0, clicks);
}

TEST_F(ButtonHost, RepaintsBuildNoFontForTheCaptionsColours) {
  button->SetCaption(L"OK");
  button->SetEnabled(false);  // the caption is drawn twice, in two colours
  TBitmap face(button->Width(), button->Height());
  auto paint = [&] { button->Perform(WM_PAINT, WPARAM(face.Canvas()->Handle()), 0); };
  paint();
  const std::size_t before = TFont::NativeFontsCreated();
  paint();
  paint();
  // At most the one font of each paint's fresh off-screen canvas.
  EXPECT_LE(TFont::NativeFontsCreated() - before, 2u);
}

TEST_F(ButtonHost, TransparentCornersShowWhatLiesBehind) {
  // MacOS: the strip's corners are magenta and the button is transparent, so
  // the corner shows the form's own colour; the middle is the image.
  button->SetUIStyle(TsuiUIStyle::MacOS);
  ASSERT_TRUE(button->Transparent());
  TBitmap normal;
  LoadStyleStateImage(TsuiUIStyle::MacOS, TsuiElement::ButtonImage, &normal, 1, 3);
  ASSERT_EQ(TColor(0x00FF00FF), normal.Canvas()->Pixel(0, 0));
  auto face = Face();
  EXPECT_EQ(clAqua, face->Canvas()->Pixel(0, 0));
  EXPECT_EQ(clAqua, face->Canvas()->Pixel(89, 29));
  EXPECT_NE(clAqua, face->Canvas()->Pixel(45, 15));
  // Opaque again, the background is the button's Color (the parent's by default).
  button->SetTransparent(false);
  button->SetColor(clYellow);
  face = Face();
  EXPECT_EQ(TColor(0x00FF00FF), face->Canvas()->Pixel(0, 0));  // an opaque corner keeps its key colour
}

TEST_F(ButtonHost, FocusIsADottedFrameOrABoldCaption) {
  button->SetCaption(L"OK");
  button->SetUIStyle(TsuiUIStyle::WinXP);
  auto* elsewhere = new TButton(form);
  elsewhere->SetParent(form);
  elsewhere->SetBounds(200, 80, 60, 25);
  elsewhere->SetFocus();
  ASSERT_FALSE(button->Focused());
  auto unfocused = Face();
  button->SetFocus();
  ASSERT_TRUE(button->Focused());
  auto focused = Face();
  // The dotted frame runs 2 pixels inside the edges.
  int changedOnFrame = 0;
  for (int x = 2; x < 88; ++x) changedOnFrame += unfocused->Canvas()->Pixel(x, 2) != focused->Canvas()->Pixel(x, 2);
  EXPECT_GT(changedOnFrame, 20);
  for (int x = 0; x < 90; ++x) EXPECT_EQ(unfocused->Canvas()->Pixel(x, 1), focused->Canvas()->Pixel(x, 1));

  button->SetUIStyle(TsuiUIStyle::MacOS);
  auto macFocused = Face();
  int changedOnMacFrame = 0;
  button->SetFocusedRectMargin(2);
  elsewhere->SetFocus();
  auto macUnfocused = Face();
  for (int x = 3; x < 87; ++x)
    changedOnMacFrame += macUnfocused->Canvas()->Pixel(x, 2) != macFocused->Canvas()->Pixel(x, 2);
  EXPECT_EQ(0, changedOnMacFrame);
  // The bold caption changes the text's pixels.
  int changedInCaption = 0;
  for (int y = 5; y < 25; ++y)
    for (int x = 20; x < 70; ++x)
      changedInCaption += macUnfocused->Canvas()->Pixel(x, y) != macFocused->Canvas()->Pixel(x, y);
  EXPECT_GT(changedInCaption, 3);
}

TEST_F(ButtonHost, ClicksSetTheModalResultAndKeysClickOnRelease) {
  int clicks = 0;
  button->SetOnClick([&](TObject*) { ++clicks; });
  button->SetModalResult(mrRetry);
  button->SetFocus();
  SendMessageW(button->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(button->IsPressed());
  EXPECT_EQ(0, clicks);
  SendMessageW(button->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(1, clicks);
  EXPECT_EQ(mrRetry, form->ModalResult());
  EXPECT_FALSE(button->IsPressed());

  // A modal result of 0 is handed on too.
  button->SetModalResult(mrNone);
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(2, clicks);
  EXPECT_EQ(mrNone, form->ModalResult());

  // Default: Enter from another control clicks at once; Cancel: Escape.
  auto* other = new TsuiButton(form);
  other->SetParent(form);
  other->SetBounds(120, 10, 80, 27);
  other->SetFocus();
  button->SetDefault(true);
  SendMessageW(other->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(3, clicks);
  SendMessageW(other->Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
  EXPECT_EQ(3, clicks);
  button->SetCancel(true);
  SendMessageW(other->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(4, clicks);
  // A mnemonic clicks.
  button->SetCaption(L"&Retry");
  SendMessageW(other->Handle(), WM_CHAR, L'r', 0);
  EXPECT_EQ(5, clicks);
}

// Enter on a focused button reaches the form's key preview and the button's
// OnKeyDown before it presses the button; a handler that takes the key
// (sets it to 0) keeps the button up.
TEST_F(ButtonHost, EnterOnAFocusedButtonIsSeenByKeyPreviewAndOnKeyDown) {
  std::vector<String> seen;
  int clicks = 0;
  WORD swallow = 0;
  form->SetKeyPreview(true);
  form->SetOnKeyDown([&](TObject*, WORD& key, TShiftState) {
    seen.push_back(L"form " + std::to_wstring(key));
    if (key == swallow) key = 0;
  });
  button->SetOnKeyDown([&](TObject*, WORD& key, TShiftState) { seen.push_back(L"button " + std::to_wstring(key)); });
  button->SetOnClick([&](TObject*) { ++clicks; });
  button->SetFocus();
  SendMessageW(button->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ((std::vector<String>{L"form 13", L"button 13"}), seen);
  EXPECT_TRUE(button->IsPressed());
  SendMessageW(button->Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
  EXPECT_EQ(1, clicks);

  seen.clear();
  swallow = VK_RETURN;
  SendMessageW(button->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(std::vector<String>{L"form 13"}, seen);
  EXPECT_FALSE(button->IsPressed());
  SendMessageW(button->Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
  EXPECT_EQ(1, clicks);
}

// A repeat handler that clicks runs inside the repeat timer's tick: the timer
// stops there and starts again with the next press.
TEST_F(ButtonHost, RepeatHandlerThatClicksStopsTheRepeat) {
  int repeats = 0, clicks = 0;
  button->SetMouseContinuouslyDownInterval(30);
  button->SetOnClick([&](TObject*) { ++clicks; });
  button->SetOnMouseContinuouslyDown([&](TObject*) {
    if (++repeats == 2) button->Click();
  });
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  Pump(300);
  EXPECT_EQ(2, repeats);
  EXPECT_EQ(1, clicks);
  EXPECT_FALSE(button->IsPressed());
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  Pump(200);
  EXPECT_GT(repeats, 2);
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(ButtonHost, HoldingTheMouseRepeatsUntilTheClick) {
  int repeats = 0, clicks = 0;
  button->SetOnMouseContinuouslyDown([&](TObject*) { ++repeats; });
  button->SetOnClick([&](TObject*) { ++clicks; });
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  Pump(450);
  EXPECT_GE(repeats, 2);
  EXPECT_LE(repeats, 5);
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(1, clicks);
  const int after = repeats;
  Pump(250);
  EXPECT_EQ(after, repeats);
}

TEST_F(ButtonHost, TwoImageGlyphShowsTheSecondWhileDisabled) {
  TBitmap glyph(32, 16);
  FillColorRect(glyph.Canvas(), RECT{0, 0, 32, 16}, clWhite);
  FillColorRect(glyph.Canvas(), RECT{2, 2, 14, 14}, clRed);
  FillColorRect(glyph.Canvas(), RECT{18, 2, 30, 14}, clBlue);
  button->SetUIStyle(TsuiUIStyle::WinXP);
  button->SetGlyph(&glyph);
  const GlyphPlacement at = PlaceGlyph(blGlyphLeft, 90, 30, 16, 16, 0, 0, 4);
  // No caption: the text is empty, the glyph sits at its computed place.
  EXPECT_EQ(clRed, Face()->Canvas()->Pixel(at.Glyph.x + 8, at.Glyph.y + 8));
  button->SetEnabled(false);
  EXPECT_EQ(clBlue, Face()->Canvas()->Pixel(at.Glyph.x + 8, at.Glyph.y + 8));
}

// The toolkit button's platform properties and its action, from a stored
// description: the action's caption, and its image as the glyph when the
// button has none.
TEST(ThemekitButtonAction, StoredActionGivesCaptionAndGlyph) {
  TButtonActionRoot root(nullptr);
  ReadComponentText(&root, R"(object Root: TButtonActionRoot
  object Images: TImageList
    Width = 8
    Height = 8
  end
  object Actions: TActionList
    Images = Images
    object Run: TAction
      Caption = 'Run'
      ImageIndex = 0
    end
  end
  object Menu: TPopupMenu
  end
  object Plain: TsuiButton
    Action = Run
    PopupMenu = Menu
    ShowHint = True
    ParentShowHint = False
    ParentBiDiMode = False
  end
end
)");
  auto* images = static_cast<TImageList*>(root.FindComponent(L"Images"));
  auto* action = static_cast<TAction*>(root.FindComponent(L"Run"));
  auto* button = static_cast<TsuiButton*>(root.FindComponent(L"Plain"));
  ASSERT_TRUE(images && action && button);
  EXPECT_EQ(button->PopupMenu(), root.FindComponent(L"Menu"));
  EXPECT_TRUE(button->ShowHint());
  EXPECT_FALSE(button->ParentShowHint());
  EXPECT_FALSE(button->ParentBiDiMode());
  EXPECT_EQ(button->Action(), action);
  EXPECT_EQ(button->Caption(), L"Run");
  // The list was empty when the action was set: no glyph yet.
  EXPECT_EQ(button->Glyph()->Width(), 0);

  TBitmap picture(8, 8);
  images->Add(&picture);
  auto* second = new TsuiButton(&root);
  second->SetCaption(L"Mine");
  second->SetAction(action);
  EXPECT_EQ(second->Caption(), L"Run");
  EXPECT_EQ(second->Glyph()->Width(), 8);
  // A glyph of the button's own stays.
  auto* own = new TsuiButton(&root);
  TBitmap glyph(5, 5);
  own->SetGlyph(&glyph);
  own->SetAction(action);
  EXPECT_EQ(own->Glyph()->Width(), 5);
  // Later captions of the action reach the buttons that still show its own.
  action->SetCaption(L"Go");
  EXPECT_EQ(button->Caption(), L"Go");
  EXPECT_EQ(own->Caption(), L"Go");
  int runs = 0;
  action->SetOnExecute([&](TObject*) { ++runs; });
  button->Click();
  EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace kestu

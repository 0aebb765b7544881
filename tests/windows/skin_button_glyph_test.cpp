// The skinned button's glyph from its image lists (key colour, Down shift,
// grey and blended looks, disabled glyphs, layouts with the caption) read
// back from the button's composed image, and the button's action link.
#include <gtest/gtest.h>

#include "framework/ActnList.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/StdCtrls.h"
#include "skin/sCustomButton.h"
#include "skin/sSkinManager.h"

#include "SkinTestFixture.h"

#include <cmath>

namespace kestu {
namespace {

constexpr TColor kRed = 0x0000FF, kGreen = 0x00FF00;
constexpr Bgr kRedPixel{0, 0, 255}, kGreenPixel{0, 255, 0};

void Pump(int ms = 50) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(2);
  }
}

// An 8 x 8 glyph of one colour whose top-left and bottom-left pixels are
// fuchsia (left out of every copy).
void AddGlyph(TImageList* list, TColor colour) {
  TBitmap picture(8, 8);
  PixelRows rows = picture.Rows();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) rows.At(x, y) = BgrFromColor(colour);
  rows.At(0, 0) = rows.At(0, 7) = BgrFromColor(clFuchsia);
  list->AddMasked(&picture, clFuchsia);
}

class SkinButtonGlyph : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateSkinTestForm();
    button = form->Button1;
    button->SetCaption(L"");
    button->SetBounds(10, 10, 75, 25);
    // A focused button looks hot: the focus goes to another control.
    auto* plain = new TButton(form);
    plain->SetParent(form);
    plain->SetBounds(100, 110, 75, 25);
    form->Show();
    plain->SetFocus();
    images = new TImageList(form);
    images->SetWidth(8);
    images->SetHeight(8);
    AddGlyph(images, kRed);
    Pump();
    Paint();
    // Without a glyph: the face the glyph goes over.
    face = CachePixel(34, 9);
    faceCorner = CachePixel(33, 15);
  }
  void TearDown() override { delete form; }
  void Paint() { button->Repaint(); }
  Bgr CachePixel(int x, int y) { return button->sStyle()->CacheBitmap->Rows().At(x, y); }
  void ShowGlyph() {
    button->SetImages(images);
    button->SetImageIndex(0);
    Paint();
  }
  TSkinTestForm* form = nullptr;
  TsButton* button = nullptr;
  TImageList* images = nullptr;
  Bgr face{}, faceCorner{};
};

// A glyph-only 75 x 25 button: d = (75 - 8) div 2 = 33, the glyph's corner
// is at (33, 8).
TEST_F(SkinButtonGlyph, GlyphIsCopiedWithoutItsKeyColourAndMovesWhileDown) {
  ASSERT_EQ(button->StateIndex(), 0);
  ShowGlyph();
  EXPECT_EQ(CachePixel(34, 9), kRedPixel);
  EXPECT_EQ(CachePixel(40, 15), kRedPixel);
  EXPECT_EQ(CachePixel(33, 15), faceCorner);  // the key-coloured corner
  button->SetDown(true);
  Paint();
  EXPECT_EQ(CachePixel(41, 16), kRedPixel);
  EXPECT_NE(CachePixel(34, 16), kRedPixel);  // the glyph's key corner, shifted
  EXPECT_EQ(CachePixel(35, 10), kRedPixel);
  // An index past the list's end is no glyph.
  button->SetDown(false);
  button->SetImageIndex(5);
  Paint();
  EXPECT_EQ(CachePixel(34, 9), face);
}

TEST_F(SkinButtonGlyph, GrayedGlyphIsGreyUntilTheButtonIsActive) {
  button->SetGrayed(true);
  ShowGlyph();
  EXPECT_EQ(CachePixel(34, 9), (Bgr{85, 85, 85}));  // (0 + 0 + 255) div 3
  EXPECT_EQ(CachePixel(33, 15), faceCorner);
  button->Perform(CM_MOUSEENTER);
  Paint();
  ASSERT_NE(button->StateIndex(), 0);
  EXPECT_EQ(CachePixel(34, 9), kRedPixel);
  button->Perform(CM_MOUSELEAVE);
}

TEST_F(SkinButtonGlyph, BlendMixesTheGlyphWithTheFaceUntilActive) {
  button->SetBlend(40);
  ShowGlyph();
  auto mix = [](int p, int dest) { return int(std::lround(p - 0.4 * (p - dest))); };
  const Bgr shown = CachePixel(34, 9);
  EXPECT_EQ(shown.r, mix(255, face.r));
  EXPECT_EQ(shown.g, mix(0, face.g));
  EXPECT_EQ(shown.b, mix(0, face.b));
  button->Perform(CM_MOUSEENTER);
  Paint();
  EXPECT_EQ(CachePixel(34, 9), kRedPixel);
  button->Perform(CM_MOUSELEAVE);
}

TEST_F(SkinButtonGlyph, DisabledButtonTakesItsDisabledGlyphOrTheDisabledLook) {
  button->SetDisabledKind(0);  // no disabled look over the whole button
  ShowGlyph();
  button->SetEnabled(false);
  Paint();
  EXPECT_EQ(CachePixel(34, 9), kRedPixel);
  auto* disabled = new TImageList(form);
  disabled->SetWidth(8);
  disabled->SetHeight(8);
  AddGlyph(disabled, kGreen);
  button->SetDisabledImages(disabled);
  Paint();
  EXPECT_EQ(CachePixel(34, 9), kGreenPixel);
  // A list that goes is forgotten: the normal glyph again.
  delete disabled;
  EXPECT_EQ(button->DisabledImages(), nullptr);
  button->SetDisabledKind(dkGrayed);
  Paint();
  EXPECT_EQ(CachePixel(34, 9), (Bgr{85, 85, 85}));
  // A list that changes repaints the button: cleared, it shows no glyph.
  images->Clear();
  Paint();
  const Bgr cleared = CachePixel(34, 9);
  EXPECT_EQ(cleared.r, cleared.g);
  EXPECT_NE(cleared, (Bgr{85, 85, 85}));
}

// Rows of the composed image that differ from `before` in columns [x0, x1).
std::vector<int> ChangedRows(PixelRows now, PixelRows before, int x0, int x1) {
  std::vector<int> rows;
  for (int y = 0; y < now.height; ++y)
    for (int x = x0; x < x1; ++x)
      if (now.At(x, y) != before.At(x, y)) {
        rows.push_back(y);
        break;
      }
  return rows;
}

PixelBuffer Copy(PixelRows rows) {
  PixelBuffer out(rows.width, rows.height);
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x) out.Rows().At(x, y) = rows.At(x, y);
  return out;
}

TEST_F(SkinButtonGlyph, GlyphAboveOrBelowTheCaptionKeepsTheSpacingBetween) {
  button->SetBounds(10, 10, 75, 50);
  button->SetSpacing(6);
  Paint();
  PixelBuffer bare = Copy(button->sStyle()->CacheBitmap->Rows());
  for (int layout : {2, 3}) {
    SCOPED_TRACE(layout);
    button->SetLayout(layout);
    button->SetCaption(L"Run it");
    ShowGlyph();
    // Glyph rows: red in the glyph's column; caption rows: changed pixels
    // left of the glyph's columns.
    std::vector<int> glyphRows;
    PixelRows now = button->sStyle()->CacheBitmap->Rows();
    for (int y = 0; y < 50; ++y)
      if (now.At(37, y) == kRedPixel) glyphRows.push_back(y);
    ASSERT_EQ(glyphRows.size(), 8u);
    const std::vector<int> text = ChangedRows(now, bare.Rows(), 20, 33);
    ASSERT_FALSE(text.empty());
    if (layout == 2)
      EXPECT_GE(text.front() - glyphRows.back() - 1, 6);
    else
      EXPECT_GE(glyphRows.front() - text.back() - 1, 6);
    button->SetImageIndex(-1);
    button->SetCaption(L"");
  }
}

TEST_F(SkinButtonGlyph, AutoSizeMakesRoomForGlyphSpacingAndCaption) {
  ShowGlyph();
  button->SetAutoSize(true);
  // Glyph only: 8 + 2 x BevelWidth each way.
  EXPECT_EQ(button->Width(), 12);
  EXPECT_EQ(button->Height(), 12);
  button->SetCaption(L"Run");
  const int withCaption = button->Width();
  button->SetSpacing(13);
  EXPECT_EQ(button->Width(), withCaption + 10);
}

// ---- action link

class TActionTestRoot : public TComponent {
  KESTU_CLASS(TActionTestRoot, TComponent)
 public:
  using TComponent::TComponent;
};
KESTU_PUBLISH(TActionTestRoot) {}

constexpr char kActionForm[] = R"(object Root: TActionTestRoot
  object ImageList1: TImageList
    Width = 8
    Height = 8
  end
  object ActionList1: TActionList
    Images = ImageList1
    object Action1: TAction
      Caption = 'Run'
      ImageIndex = 0
      Hint = 'Runs it'
    end
  end
  object Button1: TsButton
    Action = Action1
  end
  object Button2: TsButton
    Caption = 'Own'
    ImageIndex = 1
    Action = Action1
  end
end
)";

TEST(SkinButtonAction, StoredActionGivesCaptionImagesAndIndexToButtonsThatHaveNone) {
  EnsureSkinClasses();
  TActionTestRoot root(nullptr);
  ReadComponentText(&root, kActionForm);
  auto* images = static_cast<TImageList*>(root.FindComponent(L"ImageList1"));
  auto* list = static_cast<TActionList*>(root.FindComponent(L"ActionList1"));
  auto* action = static_cast<TAction*>(root.FindComponent(L"Action1"));
  auto* plain = static_cast<TsButton*>(root.FindComponent(L"Button1"));
  auto* own = static_cast<TsButton*>(root.FindComponent(L"Button2"));
  ASSERT_TRUE(images && list && action && plain && own);
  EXPECT_EQ(action->ActionList(), list);
  EXPECT_EQ(list->ActionCount(), 1);
  EXPECT_EQ(plain->Action(), action);
  EXPECT_EQ(plain->Caption(), L"Run");
  EXPECT_EQ(plain->Hint(), L"Runs it");
  EXPECT_EQ(plain->Images(), images);
  EXPECT_EQ(plain->ImageIndex(), 0);
  // Values a button was given of its own stay.
  EXPECT_EQ(own->Caption(), L"Own");
  EXPECT_EQ(own->ImageIndex(), 1);
  EXPECT_EQ(own->Images(), images);
}

TEST(SkinButtonAction, ChangesReachOnlyButtonsThatStillShowTheActionsValue) {
  EnsureSkinClasses();
  TActionTestRoot root(nullptr);
  ReadComponentText(&root, kActionForm);
  auto* action = static_cast<TAction*>(root.FindComponent(L"Action1"));
  auto* plain = static_cast<TsButton*>(root.FindComponent(L"Button1"));
  auto* own = static_cast<TsButton*>(root.FindComponent(L"Button2"));
  action->SetCaption(L"Go");
  EXPECT_EQ(plain->Caption(), L"Go");
  EXPECT_EQ(own->Caption(), L"Own");
  action->SetImageIndex(2);
  EXPECT_EQ(plain->ImageIndex(), 2);
  EXPECT_EQ(own->ImageIndex(), 1);
  action->SetChecked(true);
  EXPECT_TRUE(plain->Down());
  action->SetChecked(false);
  EXPECT_FALSE(plain->Down());

  int runs = 0;
  action->SetOnExecute([&](TObject*) { ++runs; });
  plain->Click();
  EXPECT_EQ(runs, 1);
  // A handler of the button's own is run instead.
  int own_clicks = 0;
  own->SetOnClick([&](TObject*) { ++own_clicks; });
  own->Click();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(own_clicks, 1);
  // A disabled action disables its buttons and runs nothing.
  action->SetEnabled(false);
  EXPECT_FALSE(plain->Enabled());
  plain->Click();
  EXPECT_EQ(runs, 1);
  // An action that goes leaves no link behind.
  delete action;
  EXPECT_EQ(plain->Action(), nullptr);
  EXPECT_EQ(plain->ActionLink(), nullptr);
  plain->Click();
}

}  // namespace
}  // namespace kestu

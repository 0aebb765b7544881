// Standard controls and helpers: label sizing, panel alignment and bevels,
// picture box, scroll bar, image list, JPEG pictures, clipboard, resources.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"

#include <cstdio>
#include <utility>

namespace kestu {
namespace {

const std::uint8_t kRedJpeg[] = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02,
    0x01, 0x01, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
    0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06,
    0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0B, 0x08, 0x09, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x06, 0x08,
    0x0B, 0x0C, 0x0B, 0x0A, 0x0C, 0x09, 0x0A, 0x0A, 0x0A, 0xFF, 0xDB, 0x00, 0x43, 0x01, 0x02, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0A, 0x07, 0x06, 0x07, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0xFF, 0xC0,
    0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x08, 0x03, 0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xFF, 0xC4, 0x00, 0x1F, 0x00, 0x00, 0x01, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
    0x0A, 0x0B, 0xFF, 0xC4, 0x00, 0xB5, 0x10, 0x00, 0x02, 0x01, 0x03, 0x03, 0x02, 0x04, 0x03, 0x05,
    0x05, 0x04, 0x04, 0x00, 0x00, 0x01, 0x7D, 0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21,
    0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23,
    0x42, 0xB1, 0xC1, 0x15, 0x52, 0xD1, 0xF0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0A, 0x16, 0x17,
    0x18, 0x19, 0x1A, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A,
    0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A,
    0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A,
    0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7,
    0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5,
    0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF1,
    0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFF, 0xC4, 0x00, 0x1F, 0x01, 0x00, 0x03,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
    0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0xFF, 0xC4, 0x00, 0xB5, 0x11, 0x00,
    0x02, 0x01, 0x02, 0x04, 0x04, 0x03, 0x04, 0x07, 0x05, 0x04, 0x04, 0x00, 0x01, 0x02, 0x77, 0x00,
    0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13,
    0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xA1, 0xB1, 0xC1, 0x09, 0x23, 0x33, 0x52, 0xF0, 0x15,
    0x62, 0x72, 0xD1, 0x0A, 0x16, 0x24, 0x34, 0xE1, 0x25, 0xF1, 0x17, 0x18, 0x19, 0x1A, 0x26, 0x27,
    0x28, 0x29, 0x2A, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49,
    0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69,
    0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88,
    0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6,
    0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4,
    0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE2,
    0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9,
    0xFA, 0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00, 0xF9,
    0x0E, 0x8A, 0x28, 0xAF, 0xC2, 0xCF, 0xF5, 0x50, 0xFF, 0xD9,
};

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application);
    form->SetClientSize(300, 200);
    form->Font()->SetName(L"SimSun");
    form->Font()->SetHeight(-12);
  }
  void TearDown() override { delete form; }
  // The form's client area as painted now.
  std::unique_ptr<TBitmap> Snapshot() {
    auto shot = std::make_unique<TBitmap>(form->ClientWidth(), form->ClientHeight());
    form->Perform(WM_ERASEBKGND, WPARAM(shot->Canvas()->Handle()), 0);
    form->Perform(WM_PAINT, WPARAM(shot->Canvas()->Handle()), 0);
    return shot;
  }
  TForm* form = nullptr;
};

TEST_F(Controls, LabelGrowsToItsTextWithinItsConstraints) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption(L"数据库安装成功！");
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->Assign(label->Font());
  const int lineHeight = probe.Canvas()->TextHeight(L"数");  // 12 with SimSun itself
  EXPECT_EQ(label->Height(), lineHeight);
  EXPECT_EQ(label->Width(), 8 * 12);
  // Fixed width by constraints, word wrap: the height grows line by line.
  label->Constraints()->SetMinWidth(60);
  label->Constraints()->SetMaxWidth(60);
  label->SetWordWrap(true);
  label->SetCaption(L"一二三四五六七八九十一二三四五六七八九十");
  EXPECT_EQ(label->Width(), 60);
  EXPECT_EQ(label->Height(), 4 * lineHeight);
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

TEST_F(Controls, AChildAskedForItsWindowFirstGetsExactlyOne) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  ASSERT_FALSE(form->HandleAllocated());
  const HWND child = panel->Handle();  // creates the form's window on the way
  int children = 0;
  EnumChildWindows(form->Handle(), CountWindow, reinterpret_cast<LPARAM>(&children));
  EXPECT_EQ(children, 1);
  EXPECT_EQ(GetParent(child), form->Handle());
}

TEST_F(Controls, AlignedChildrenShareTheClientAreaInsideBevels) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 200, 100);
  panel->SetBorderWidth(2);
  auto* top = new TPanel(panel);
  top->SetParent(panel);
  top->SetHeight(20);
  top->SetAlign(alTop);
  auto* left = new TPanel(panel);
  left->SetParent(panel);
  left->SetWidth(30);
  left->SetAlign(alLeft);
  auto* client = new TPanel(panel);
  client->SetParent(panel);
  client->SetAlign(alClient);
  // Border 2 + outer bevel 1 on each side.
  EXPECT_EQ(top->BoundsRect().left, 3);
  EXPECT_EQ(top->BoundsRect().top, 3);
  EXPECT_EQ(top->Width(), 194);
  EXPECT_EQ(left->Top(), 23);
  EXPECT_EQ(left->Height(), 74);
  EXPECT_EQ(client->Left(), 33);
  EXPECT_EQ(client->Width(), 164);
  panel->SetWidth(300);
  EXPECT_EQ(client->Width(), 264);
  left->SetVisible(false);
  EXPECT_EQ(client->Left(), 3);
}

TEST_F(Controls, AnchoredControlsKeepTheirDistanceToTheEdges) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 200, 100);
  auto* corner = new TButton(panel);
  corner->SetParent(panel);
  corner->SetBounds(150, 70, 40, 20);  // 10 from the right and bottom
  corner->SetAnchors(akRight | akBottom);
  auto* stretched = new TButton(panel);
  stretched->SetParent(panel);
  stretched->SetBounds(10, 10, 180, 20);
  stretched->SetAnchors(akLeft | akTop | akRight);
  panel->SetBounds(0, 0, 300, 150);
  EXPECT_EQ(corner->Left(), 250);
  EXPECT_EQ(corner->Top(), 120);
  EXPECT_EQ(corner->Width(), 40);
  EXPECT_EQ(stretched->Left(), 10);
  EXPECT_EQ(stretched->Width(), 280);
}

TEST_F(Controls, PanelPaintsItsBevelsAndTheFormItsGraphicChildren) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 50, 40);
  panel->SetColor(clWhite);
  form->HandleNeeded();
  TBitmap shot(50, 40);
  panel->Perform(WM_PAINT, WPARAM(shot.Canvas()->Handle()), 0);
  EXPECT_EQ(shot.Rows().At(0, 0), BgrFromColor(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(shot.Rows().At(49, 39), BgrFromColor(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(shot.Rows().At(25, 20), (Bgr{255, 255, 255}));
  // A picture box is painted by its parent at its place.
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(100, 100, 10, 10);
  image->SetAutoSize(true);
  TBitmap picture(4, 2);
  picture.Canvas()->Brush()->SetColor(clLime);
  picture.Canvas()->FillRect({0, 0, 4, 2});
  image->Picture()->SetGraphic(&picture);
  EXPECT_EQ(image->Width(), 4);
  EXPECT_EQ(image->Height(), 2);
  auto whole = Snapshot();
  EXPECT_EQ(whole->Rows().At(103, 101), (Bgr{0, 255, 0}));
  EXPECT_EQ(whole->Rows().At(104, 101), BgrFromColor(ColorToRGB(clBtnFace)));
}

TEST_F(Controls, ScrollBarKeepsItsPositionInRangeAndFollowsScrollMessages) {
  auto* bar = new TScrollBar(form);
  bar->SetParent(form);
  int changes = 0;
  bar->SetOnChange([&](TObject*) { ++changes; });
  bar->SetPageSize(10);
  bar->SetPosition(500);
  EXPECT_EQ(bar->Position(), 91);  // Max - (PageSize - 1)
  bar->SetSmallChange(5);
  bar->SetLargeChange(20);
  form->HandleNeeded();
  SendMessageW(form->Handle(), WM_HSCROLL, SB_PAGEUP, LPARAM(bar->Handle()));
  EXPECT_EQ(bar->Position(), 71);
  SendMessageW(form->Handle(), WM_HSCROLL, SB_LINEDOWN, LPARAM(bar->Handle()));
  EXPECT_EQ(bar->Position(), 76);
  EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 76);
  SendMessageW(form->Handle(), WM_HSCROLL, SB_TOP, LPARAM(bar->Handle()));
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(changes, 4);
}

TEST_F(Controls, FormScrollBarsMoveTheChildren) {
  auto* distant = new TPanel(form);
  distant->SetParent(form);
  distant->SetBounds(200, 400, 40, 40);  // right edge clear of the vertical bar
  form->VertScrollBar()->SetIncrement(10);
  form->SetAutoScroll(true);
  form->HandleNeeded();
  EXPECT_TRUE(form->VertScrollBar()->IsScrollBarVisible());  // bottom 440 > 200
  EXPECT_FALSE(form->HorzScrollBar()->IsScrollBarVisible());
  SendMessageW(form->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(form->VertScrollBar()->Position(), 10);
  EXPECT_EQ(distant->Top(), 390);
  SendMessageW(form->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(form->VertScrollBar()->Position(), 440 - form->ClientHeight());
  EXPECT_EQ(distant->Top() + distant->Height(), form->ClientHeight());
  form->SetAutoScroll(false);
  EXPECT_EQ(distant->Top(), 400);  // back at its place once the bar goes
}

TEST_F(Controls, TextSetOnTheWindowAndSystemColourChangesReachTheControls) {
  auto* button = new TButton(form);
  button->SetParent(form);
  auto* label = new TLabel(form);
  label->SetParent(form);
  form->HandleNeeded();
  SetWindowTextW(form->Handle(), L"外部");
  EXPECT_EQ(form->Caption(), L"外部");
  int seen = 0;
  label->SetWindowProc([&, old = label->WindowProc()](TMessage& m) {
    if (m.Msg == CM_SYSCOLORCHANGE) ++seen;
    old(m);
  });
  button->SetWindowProc([&, old = button->WindowProc()](TMessage& m) {
    if (m.Msg == CM_SYSCOLORCHANGE) ++seen;
    old(m);
  });
  SendMessageW(form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(seen, 2);
}

TEST(ImageList, MaskedImagesDrawTransparentAndGreyed) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  TBitmap strip(8, 4);
  strip.Canvas()->Brush()->SetColor(clFuchsia);
  strip.Canvas()->FillRect({0, 0, 8, 4});
  strip.Canvas()->Brush()->SetColor(clBlue);
  strip.Canvas()->FillRect({1, 1, 3, 3});
  strip.Canvas()->FillRect({5, 1, 7, 3});
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(strip.Rows().At(0, 0), (Bgr{255, 0, 255}));  // the source is untouched
  TBitmap target(8, 4);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect({0, 0, 8, 4});
  list.Draw(target.Canvas(), 0, 0, 1);
  EXPECT_EQ(target.Rows().At(0, 0), (Bgr{255, 255, 255}));
  EXPECT_EQ(target.Rows().At(1, 1), (Bgr{255, 0, 0}));
  list.Draw(target.Canvas(), 4, 0, 0, false);
  const Bgr grey = target.Rows().At(5, 1);
  EXPECT_NE(grey, (Bgr{255, 0, 0}));
  EXPECT_EQ(grey.r, grey.g);  // no colour left
}

TEST(Jpeg, PicturesDecodeInColourOrGrey) {
  TJPEGImage jpeg;
  jpeg.LoadFromData(kRedJpeg, sizeof kRedJpeg);
  ASSERT_EQ(jpeg.Width(), 8);
  const Bgr c = jpeg.Bitmap()->Rows().At(4, 4);
  EXPECT_NEAR(c.r, 200, 6);
  EXPECT_NEAR(c.g, 30, 6);
  jpeg.SetGrayscale(true);
  jpeg.LoadFromData(kRedJpeg, sizeof kRedJpeg);
  const Bgr g = jpeg.Bitmap()->Rows().At(4, 4);
  EXPECT_EQ(g.r, g.g);
  EXPECT_EQ(g.g, g.b);
  EXPECT_THROW(jpeg.LoadFromData(kRedJpeg, 40), EInvalidGraphic);
  TPicture picture;
  picture.SetGraphic(&jpeg);
  EXPECT_EQ(picture.Width(), 8);
}

Bytes FileContents(const std::string& path) {
  Bytes bytes;
  if (std::FILE* in = std::fopen(path.c_str(), "rb")) {
    for (int c; (c = std::fgetc(in)) != EOF;) bytes.push_back(std::uint8_t(c));
    std::fclose(in);
  }
  return bytes;
}

// The build packs the program's form descriptions; each unpacks to its file,
// as does a packed test resource of raw chunks and a short packed one.
TEST(Helpers, PackedResourcesUnpackToTheirFiles) {
  const std::pair<const char*, const wchar_t*> forms[] = {{"Form1", L"TFORM1"}, {"frmMessage", L"TFRMMSG"}};
  for (const auto& [file, resource] : forms) {
    const Bytes source = FileContents(std::string(KESTU_TEST_DATA "/../../resources/forms/") + file + ".form");
    ASSERT_GT(source.size(), 1000u) << file;
    const HRSRC stored = FindResourceW(nullptr, resource, MAKEINTRESOURCEW(10));
    ASSERT_NE(stored, nullptr) << file;
    EXPECT_LT(SizeofResource(nullptr, stored), source.size() / 3) << file << " is stored packed";
    EXPECT_EQ(LoadResourceData(resource), source) << file;
  }
  const Bytes mixed = FileContents(KESTU_TEST_DATA "/../windows/resources/Mixed.bin");
  ASSERT_EQ(mixed.size(), 9092u);
  EXPECT_EQ(LoadResourceData(L"MIXED_PACKED"), mixed);
}

TEST(Helpers, ClipboardTextResourcesAndProgramPath) {
  ClipboardSetText(L"---\r\n提醒\r\n---");
  EXPECT_EQ(ClipboardText(), L"---\r\n提醒\r\n---");
  {
    ClipboardLock lock;  // closed again after a failed set as well
    EXPECT_TRUE(lock.Opened());
  }
  const Bytes form = LoadResourceData(L"TTESTFORM");
  EXPECT_EQ(std::string(form.begin(), form.begin() + 6), "object");
  EXPECT_THROW(LoadResourceData(L"NO_SUCH_RESOURCE"), Exception);
  EXPECT_THROW(LoadResourceData(L"DAMAGED_PACKED"), Exception);
  const String path = ProgramPath();
  EXPECT_TRUE(FileExists(path));
  EXPECT_TRUE(DirectoryExists(ExtractFilePath(path)));
  EXPECT_EQ(ExtractFilePath(L"C:\\dir\\setup.exe"), L"C:\\dir\\");
}

}  // namespace
}  // namespace kestu

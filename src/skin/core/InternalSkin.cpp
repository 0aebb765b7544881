#include "skin/core/InternalSkin.h"

#include <initializer_list>
#include <string_view>

namespace kestu {
namespace {

constexpr char kButtonFont[] = "0 16705984 16705984 -1 -1";
constexpr char kButtonGradient[] = "16777215;14211288;75;0;0;14211288;16777215;24;0;0;16777215;16777215;0;0;0";
constexpr char kButtonHotGradient[] =
    "16775664;12358776;17;0;0;12358776;16758114;29;0;0;16758114;16777215;53;0;0;16777215;16777215;0;0;0";

// The values every section starts from ("GlobalInfo" keeps them all).
TsStoredGeneral Base(std::string name, std::string parent = {}) {
  TsStoredGeneral g;
  g.SectionName = std::move(name);
  g.ParentClassName = std::move(parent);
  g.PaintingColor = 0xFFFFFF;
  g.PaintingBevel = cbNone;
  g.PaintingBevelWidth = 2;
  g.ShadowBlur = 6;
  g.ShadowColor = 0;
  g.ShadowOffset = 3;
  g.ShadowTransparency = 60;
  g.FontColor = g.HotFontColor = "0 -1 -1 -1 -1";
  g.GradientData = " ";
  g.FadingIntervalIn = g.FadingIntervalOut = g.FadingIterations = 5;
  g.HotPaintingColor = 0xFFFFFF;
  g.HotPaintingBevel = cbNone;
  g.HotPaintingBevelWidth = 2;
  g.HotGradientData = " ";
  g.SelectionBorderBevel = ebLowered;
  g.SelectionBorderWidth = 2;
  g.SelectionColor = 0xFFFFFF;
  return g;
}

void Edit(TsStoredGeneral& g) {
  g.PaintingBevel = cbRaisedSoft;
  g.PaintingBevelWidth = 1;
  g.PaintingColorBorderTop = g.PaintingColorBorderBottom = 0x808080;
  g.SelectionBorderBevel = ebRaised;
  g.SelectionBorderWidth = 1;
}

void Button(TsStoredGeneral& g) {
  g.HotFontColor = kButtonFont;
  g.GradientPercent = 100;
  g.GradientData = kButtonGradient;
  g.ShowFocus = true;
  g.FadingEnabled = true;
  g.FadingIterations = 2;
  g.HotPaintingColor = 16240300;
  g.HotGradientPercent = 100;
  g.HotGradientData = kButtonHotGradient;
}

void SpeedButton(TsStoredGeneral& g) {
  Button(g);
  g.PaintingColor = 15132390;
  g.PaintingTransparency = 50;
  g.HotPaintingColor = 16764032;
  g.HotPaintingTransparency = 20;
  g.GradientPercent = 0;
  g.HotGradientPercent = 0;
}

void ToolButton(TsStoredGeneral& g) {
  g.PaintingColor = 15724527;
  g.HotFontColor = "0 11796458 11796458 -1 -1";
  g.PaintingTransparency = 40;
  g.FadingEnabled = true;
  g.FadingIterations = 2;
  g.HotPaintingColor = 0x00FFFF;
  g.GradientData = kButtonGradient;
  g.HotGradientData = kButtonHotGradient;
}

void PageControl(TsStoredGeneral& g) {
  g.PaintingColor = 15329769;
  g.PaintingBevel = cbRaisedSoft;
  g.GradientData.clear();
}

void Panel(TsStoredGeneral& g) {
  g.PaintingColor = 14737632;
  g.PaintingBevel = cbRaisedSoft;
  g.PaintingTransparency = 100;
  g.GradientData.clear();
}

void ToolBar(TsStoredGeneral& g) {
  g.PaintingColor = 14737632;
  g.PaintingBevel = cbRaisedSoft;
  g.GradientPercent = 100;
  g.GradientData = "14145495;16777215;99;0;0;16777215;16777215;0;0;0";
}

void GroupBox(TsStoredGeneral& g) {
  g.PaintingColor = 14215660;
  g.PaintingBevel = cbLoweredHard;
  g.PaintingTransparency = 100;
  g.GradientData.clear();
}

void AlphaEdit(TsStoredGeneral& g) {
  g.PaintingColor = 14737632;
  g.HotFontColor = "0 -1 -1 16777215 16777215";
  g.PaintingTransparency = 50;
  g.GradientData = "16777215;16777215;64;0;0;16777215;12632256;35;0;0;12632256;12632256;0;0;0";
  g.HotPaintingColor = 15921906;
  g.HotPaintingTransparency = 50;
  g.HotGradientData = "16777215;16777215;81;0;0;16777215;12632256;17;0;0;12632256;12632256;0;0;0";
}

void SeeThrough(TsStoredGeneral& g) { g.PaintingTransparency = g.HotPaintingTransparency = 100; }

std::vector<TsStoredGeneral> Sections() {
  using G = TsStoredGeneral;
  auto edit = [](const char* name) { G g = Base(name, "TsEdit"); Edit(g); return g; };
  auto with = [](G g, void (*f)(G&)) { f(g); return g; };
  auto showFocus = [](G g) { g.ShowFocus = true; return g; };

  G tsBitBtn = with(Base("TsBitBtn", "TsButton"), Button);
  tsBitBtn.HotPaintingBevel = cbRaisedSoft;
  tsBitBtn.HotPaintingBevelWidth = 3;

  G small = with(Base("TsSpeedButton_Small", "TsSpeedButton"), SpeedButton);
  small.PaintingTransparency = 100;
  small.FadingIterations = 1;
  G splitter = small;
  splitter.SectionName = "TsSplitter";
  splitter.ParentClassName = "TsSpeedButton_Small";

  G big = Base("TsButton_BIG");
  big.PaintingTransparency = 100;
  big.ShowFocus = true;
  big.FadingEnabled = true;
  big.FadingIterations = 2;
  big.HotPaintingColor = 16240300;
  big.HotPaintingTransparency = 100;
  big.HotPaintingBevel = cbRaisedSoft;
  big.HotPaintingBevelWidth = 3;

  G gauge = Base("TsGauge", "TsPanel");
  gauge.PaintingColor = 14737632;
  gauge.PaintingBevel = cbRaisedSoft;
  gauge.PaintingTransparency = 100;
  gauge.GradientPercent = 100;
  gauge.GradientData = "13948116;16777215;74;0;0;16777215;16777215;25;0;0;16777215;16777215;0;0;0";

  G scrollBox = Base("TsScrollBox", "TsPanel_Lowered");
  scrollBox.PaintingColor = 15921906;
  scrollBox.PaintingBevel = cbRaisedSoft;
  scrollBox.PaintingTransparency = 100;
  scrollBox.GradientData.clear();

  G grip = Base("TsGrip");
  grip.PaintingColor = 15921906;

  G container = Base("TsContainer");
  container.PaintingColor = 14671839;
  container.PaintingBevel = cbRaisedSoft;
  container.GradientData.clear();

  G tabSheet = Base("TsTabSheet");
  tabSheet.PaintingColor = 8454143;
  tabSheet.PaintingBevelWidth = 5;
  tabSheet.PaintingTransparency = 100;
  tabSheet.GradientData.clear();

  G scrollBtn = Base("");
  scrollBtn.ReservedBoolean = true;
  auto scrollButton = [&](const char* name) { G g = scrollBtn; g.SectionName = name; return g; };

  G trackBar = Base("TsTrackBar");
  trackBar.PaintingColor = 15791348;
  trackBar.PaintingTransparency = 100;
  trackBar.GradientPercent = 100;
  trackBar.GradientData = "16777215;8421504;99;0;0;8421504;8421504;0;0;0";
  trackBar.FadingEnabled = true;
  trackBar.HotPaintingTransparency = 100;

  G statusBar = Base("TsStatusBar");
  statusBar.PaintingColor = 15395562;
  statusBar.GradientPercent = 100;
  statusBar.GradientData =
      "11908533;13948116;7;0;0;13948116;15132390;45;0;0;15132390;15395562;47;0;0;15395562;15395562;0;0;0";

  G dragBar = Base("TsDragBar");
  dragBar.PaintingColor = 0xFF0000;
  dragBar.GradientPercent = 100;
  dragBar.GradientData =
      "16708578;13462299;22;0;0;13462299;15315026;23;0;0;15315026;15182166;19;0;0;15182166;16777215;34;0;0;"
      "16777215;16777215;0;0;0";

  G formTitle = Base("FormTitle");
  formTitle.FontColor = "8421504 -1 -1 16777215 16777215";
  formTitle.HotFontColor = "0 16777215 16777215 -1 -1";
  formTitle.PaintingTransparency = 50;
  formTitle.GradientPercent = 100;
  formTitle.GradientData = "16777215;12632256;93;0;0;12632256;4539717;6;0;0;4539717;4539717;0;0;0";
  formTitle.HotGradientPercent = 100;
  formTitle.HotGradientData =
      "16777215;16777215;19;0;0;16777215;12632256;60;0;0;12632256;11382189;20;0;0;11382189;11382189;0;0;0";

  G form = Base("Form");
  form.ReservedBoolean = true;
  form.ImagePercent = 100;
  form.HotImagePercent = 100;

  G mainMenu = Base("MainMenu");
  mainMenu.GradientData.clear();
  mainMenu.ImagePercent = 100;

  G menuItem = Base("MenuItem");
  menuItem.HotFontColor = "0 -1 -1 15386254 15386254";
  menuItem.PaintingTransparency = 100;
  menuItem.GradientData.clear();
  menuItem.HotPaintingColor = 14123264;
  menuItem.HotPaintingTransparency = 40;
  menuItem.HotGradientData.clear();

  G empty;  // all values 0, strings empty

  return {
      Base("GlobalInfo"), edit("TsSpinEdit"), edit("TsMemo"), edit("TsCurrencyEdit"), edit("TsMaskEdit"),
      edit("TsFileNameEdit"), edit("TsDateEdit"), edit("TsDirectoryEdit"), edit("TsListBox"), edit("TsCalcEdit"),
      Base("TsEditButton"), edit("TsComboEdit"), with(Base("TsTimerSpeedButton", "TsSpeedButton"), SpeedButton),
      with(Base("TsDBNavigator", "TsToolBar"), ToolBar), with(Base("TsNavButton", "TsToolButton"), ToolButton),
      edit("TsDBEdit"), [&] { G g = edit("TsDBMemo"); g.ParentClassName = "TsMemo"; return g; }(),
      [&] { G g = edit("TsDBLookupComboBox"); g.ParentClassName = "TsComboBox"; return g; }(),
      [&] { G g = edit("TsDBListBox"); g.ParentClassName = "TsListBox"; return g; }(),
      [&] { G g = edit("TsDBLookupListBox"); g.ParentClassName = "TsListBox"; return g; }(),
      [&] { G g = edit("TsDBCheckBox"); g.ParentClassName = "TsCheckBox"; return g; }(),
      [&] { G g = edit("TsDBComboBox"); g.ParentClassName = "TsComboBox"; return g; }(),
      grip, with(Base("TsMonthCalendar", "TsPanel"), Panel), [&] { G g = Base("TsEdit"); Edit(g); return g; }(),
      scrollBox, with(Base("TsToolBar", "TsPanel"), ToolBar), splitter, Base("TsCheckListBox", "SIMPLYEDIT"),
      Base("ScrollBar2V"), Base("ScrollBar1V"), Base("ScrollBar1H"), with(Base("ScrollSliderV"), SeeThrough),
      with(Base("ScrollSliderH"), SeeThrough), with(Base("TsPanel"), Panel), with(Base("TsPageControl"), PageControl),
      with(Base("TsPageControlBOTTOM"), PageControl), with(Base("TsPageControlLEFT"), PageControl),
      with(Base("TsPageControlRIGHT"), PageControl), with(Base("ALPHAEDIT"), AlphaEdit), Base("ScrollBar2H"),
      Base("CalcPanel"), edit("TsRadioButton"), scrollButton("SCROLLBTNBottom"), scrollButton("SCROLLBTNLeft"),
      scrollButton("SCROLLBTNRight"), scrollButton("SCROLLBTNTop"), gauge, with(Base("MenuLine"), SeeThrough),
      Base("SIMPLYEDIT"), with(Base("TsGroupBox"), GroupBox), edit("TsCheckBox"), mainMenu, menuItem, big,
      with(Base("TsPanel_Lowered"), Panel), container, showFocus(with(Base("TsColorBox_1", "ALPHAEDIT"), AlphaEdit)),
      showFocus(Base("TsComboBoxEx", "SIMPLYEDIT")),
      showFocus(with(Base("TsComboBoxEx_1", "ALPHAEDIT"), AlphaEdit)), edit("TsComboBox"), trackBar,
      showFocus(Base("TsColorBox", "SIMPLYEDIT")), tabSheet,
      with(Base("TsTabControl", "TsPageControl"), PageControl),
      with(Base("TsTabControlBOTTOM", "TsPageControlBOTTOM"), PageControl), Base("TsTabSheetBOTTOM"),
      Base("TsTabSheetLEFT"), with(Base("TsTabControlLEFT", "TsPageControlLEFT"), PageControl),
      with(Base("TsTabControlRIGHT", "TsPageControlRIGHT"), PageControl), Base("TsTabSheetRIGHT"), formTitle,
      with(Base("COLHEADER", "TSBUTTON"), Button), Base("TSTREEVIEW", "SIMPLYEDIT"),
      Base("TSGRIDADAPTER", "SIMPLYEDIT"), form, Base("DIVIDER"), Base("TsListView", "SIMPLYEDIT"),
      with(Base("TFRAME"), GroupBox), tsBitBtn, with(Base("TsSpeedButton_Small", "TsSpeedButton"), [](G& g) {
        SpeedButton(g);
        g.PaintingTransparency = 100;
        g.FadingIterations = 1;
      }),
      statusBar, with(Base("TsToolButton", "TsButton"), ToolButton), dragBar,
      with(Base("TsColorSelect", "TSBUTTON"), Button), with(Base("TsSpeedButton", "TsButton"), SpeedButton),
      with(Base("TsButton"), Button), empty,
  };
}

struct ImageRow {
  std::initializer_list<const char*> sections;
  const char* property;
  int left, top, right, bottom, count, mask;
};

// Entries cut from the master bitmap, in stored order.
const ImageRow kImages[] = {
    {{"SCROLLBAR2V"}, "BORDERSMASK", 21, 90, 42, 159, 1, 0},
    {{"SCROLLBAR1V"}, "BORDERSMASK", 0, 90, 21, 159, 1, 0},
    {{"SCROLLBAR1H"}, "BORDERSMASK", 42, 114, 111, 138, 1, 0},
    {{"SCROLLSLIDERV"}, "BORDERSMASK", 0, 42, 63, 90, 3, 1},
    {{"SCROLLSLIDERH"}, "BORDERSMASK", 0, 0, 72, 42, 3, 1},
    {{"TSPANEL"}, "BORDERSMASK", 111, 91, 132, 133, 1, 1},
    {{"TSPAGECONTROL"}, "BORDERSMASK", 0, 159, 18, 183, 1, 1},
    {{"TSPAGECONTROLBOTTOM"}, "BORDERSMASK", 19, 159, 37, 183, 1, 1},
    {{"TSPAGECONTROLLEFT"}, "BORDERSMASK", 165, 38, 177, 74, 1, 1},
    {{"TSPAGECONTROLRIGHT"}, "BORDERSMASK", 177, 38, 189, 74, 1, 1},
    {{"ALPHAEDIT"}, "BORDERSMASK", 163, 135, 190, 183, 1, 1},
    {{"SCROLLBAR2H"}, "BORDERSMASK", 42, 91, 111, 114, 1, 0},
    {{"CALCPANEL"}, "BORDERSMASK", 163, 135, 190, 183, 1, 1},
    {{"TSRADIOBUTTON"}, "GLYPHCHECKED", 152, 344, 200, 380, 3, 1},
    {{"TSRADIOBUTTON"}, "GLYPHUNCHECKED", 103, 344, 151, 380, 3, 1},
    {{"SCROLLBTNBOTTOM"}, "BORDERSMASK", 63, 67, 135, 91, 3, 0},
    {{"SCROLLBTNBOTTOM"}, "GLYPHMASK", 11, 244, 20, 262, 1, 1},
    {{"SCROLLBTNLEFT"}, "BORDERSMASK", 42, 138, 114, 162, 3, 0},
    {{"SCROLLBTNLEFT"}, "GLYPHMASK", 31, 244, 40, 262, 1, 1},
    {{"SCROLLBTNRIGHT"}, "BORDERSMASK", 42, 162, 114, 186, 3, 0},
    {{"SCROLLBTNRIGHT"}, "GLYPHMASK", 21, 244, 30, 262, 1, 1},
    {{"SCROLLBTNTOP"}, "BORDERSMASK", 63, 42, 135, 66, 3, 0},
    {{"SCROLLBTNTOP"}, "GLYPHMASK", 1, 244, 10, 262, 1, 1},
    {{"TSGAUGE"}, "BORDERSMASK", 170, 184, 182, 208, 1, 1},
    {{"TSGAUGE"}, "GAUGEPROGRESSMASK", 183, 184, 198, 226, 1, 1},
    {{"SIMPLYEDIT"}, "BORDERSMASK", 170, 184, 182, 208, 1, 1},
    {{"TSGROUPBOX"}, "BORDERSMASK", 192, 168, 198, 180, 1, 1},
    {{"TSCHECKBOX"}, "GLYPHCHECKED", 130, 0, 187, 38, 3, 1},
    {{"TSCHECKBOX"}, "GLYPHUNCHECKED", 72, 0, 129, 38, 3, 1},
    {{"MAINMENU"}, "IMAGEFILE", 103, 188, 169, 228, 1, 0},
    {{"TSBUTTON_BIG"}, "BORDERSMASK", 42, 228, 177, 300, 3, 1},
    {{"TSPANEL_LOWERED"}, "BORDERSMASK", 170, 184, 182, 208, 1, 1},
    {{"TSCONTAINER"}, "BORDERSMASK", 170, 184, 182, 208, 1, 1},
    {{"TSCOLORBOX_1"}, "GLYPHMASK", 0, 390, 45, 424, 3, 1},
    {{"TSCOMBOBOXEX"}, "GLYPHMASK", 0, 390, 45, 424, 3, 1},
    {{"TSCOMBOBOXEX_1"}, "GLYPHMASK", 0, 390, 45, 424, 3, 1},
    {{"TSCOMBOBOX"}, "GLYPHMASK", 0, 390, 45, 407, 3, 0},
    {{"TSTRACKBAR"}, "SLIDERCHANNEL", 192, 155, 198, 167, 1, 1},
    {{"TSTRACKBAR"}, "SLIDERMASK", 167, 301, 200, 322, 3, 0},
    {{"TSTRACKBAR"}, "SLIDERVMASK", 0, 378, 63, 389, 3, 0},
    {{"TSCOLORBOX"}, "GLYPHMASK", 0, 390, 45, 407, 3, 0},
    {{"TSTABSHEET", "TSTABCONTROL"}, "ACTIVETABBORDERSMASK", 72, 186, 102, 228, 1, 1},
    {{"TSTABSHEET", "TSTABCONTROL"}, "INACTIVETABBORDERSMASK", 136, 86, 163, 110, 1, 0},
    {{"TSTABCONTROLBOTTOM", "TSTABSHEETBOTTOM"}, "ACTIVETABBORDERSMASK", 42, 186, 72, 228, 1, 1},
    {{"TSTABCONTROLBOTTOM", "TSTABSHEETBOTTOM"}, "INACTIVETABBORDERSMASK", 163, 86, 190, 110, 1, 0},
    {{"TSTABSHEETLEFT", "TSTABCONTROLLEFT"}, "ACTIVETABBORDERSMASK", 21, 183, 42, 243, 1, 1},
    {{"TSTABSHEETLEFT", "TSTABCONTROLLEFT"}, "INACTIVETABBORDERSMASK", 114, 134, 138, 161, 1, 0},
    {{"TSTABCONTROLRIGHT", "TSTABSHEETRIGHT"}, "ACTIVETABBORDERSMASK", 0, 183, 21, 243, 1, 1},
    {{"TSTABCONTROLRIGHT", "TSTABSHEETRIGHT"}, "INACTIVETABBORDERSMASK", 138, 134, 162, 161, 1, 0},
    {{"FORMTITLE"}, "BORDERSMASK", 135, 38, 165, 86, 1, 1},
    {{"FORM"}, "BICONHELP", 0, 340, 51, 378, 3, 1},
    {{"FORM"}, "BORDERSMASK", 76, 38, 79, 41, 1, 0},
    {{"FORM"}, "GRIPIMAGE", 179, 227, 197, 245, 1, 0},
    {{"FORM"}, "HOTIMAGEFILE", 103, 188, 169, 228, 1, 0},
    {{"FORM"}, "IMAGEFILE", 103, 188, 169, 228, 1, 0},
    {{"FORM"}, "TITLEBUTTON", 103, 344, 151, 380, 3, 1},
    {{"DIVIDER"}, "BORDERSMASK", 191, 23, 194, 41, 1, 1},
    {{"TFRAME"}, "BORDERSMASK", 192, 168, 198, 180, 1, 1},
    {{"TSSPEEDBUTTON_SMALL"}, "BORDERSMASK", 1, 263, 28, 281, 3, 1},
    {{"TSSTATUSBAR"}, "GRIPIMAGE", 179, 227, 197, 245, 1, 0},
    {{"TSTOOLBUTTON"}, "BORDERSMASK", 56, 389, 200, 449, 3, 1},
    {{"TSDRAGBAR"}, "BORDERSMASK", 192, 168, 198, 180, 1, 1},
    {{"TSSPEEDBUTTON"}, "BORDERSMASK", 56, 389, 200, 449, 3, 1},
    {{"TSBUTTON"}, "BORDERSMASK", 0, 449, 72, 497, 3, 1},
    {{"TSBUTTON"}, "SBORDERSMASK", 50, 300, 104, 336, 3, 1},
};

}  // namespace

TsStoredSkinData MacOSInternalSkin() {
  TsStoredSkinData skin;
  skin.Name = kInternalSkinName;
  skin.GeneralData = Sections();
  for (const ImageRow& row : kImages)
    for (const char* section : row.sections) {
      TsStoredImage image;
      image.SectionName = section;
      image.PropertyName = row.property;
      image.Left = row.left;
      image.Top = row.top;
      image.Right = row.right;
      image.Bottom = row.bottom;
      image.ImageCount = row.count;
      image.MaskType = row.mask;
      skin.Images.push_back(std::move(image));
    }
  // The title buttons carry bitmaps of their own (three 17-pixel states
  // above their masks); the rectangle stays empty and the count 0.
  for (auto [property, file] : {std::pair{"BIconClose", "BICLOSE.BMP"}, std::pair{"BIconMax", "BIMAX.BMP"},
                                std::pair{"BIconMin", "BIMIN.BMP"}, std::pair{"BIconNorm", "BIMAX.BMP"}}) {
    TsStoredImage image;
    image.SectionName = "Form";
    image.PropertyName = property;
    image.Name = file;
    skin.Images.push_back(std::move(image));
  }
  return skin;
}

}  // namespace kestu

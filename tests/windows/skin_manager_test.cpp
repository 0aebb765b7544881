// The skin manager on real forms: the stored description of the installer's
// engines, skin selection and fallback, the order of the skin messages every
// control receives, switching off, a second manager, the skin folder rules.
#include <gtest/gtest.h>

#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "skin/sCommonData.h"
#include "skin/sCustomButton.h"
#include "skin/sSkinManager.h"

#include "SkinTestForm.h"

#include <algorithm>
#include <fstream>
#include <memory>

namespace kestu {

// A windowed control that records the skin messages it receives.
class TSkinRecorder : public TWinControl {
  KESTU_CLASS(TSkinRecorder, TWinControl)
 public:
  using TWinControl::TWinControl;
  std::vector<UINT> received;
  void WndProc(TMessage& m) override {
    if (m.Msg >= SKM_QUERYSTYLE && m.Msg <= SKM_GROUPLAST) received.push_back(m.Msg);
    TWinControl::WndProc(m);
  }
};
KESTU_PUBLISH(TSkinRecorder) {}

// A manager that records its events from the moment it exists, so that what
// happens while its stored description is read is seen too (handlers named
// in a description are bound only after reading).
class TRecordingSkinManager : public TsSkinManager {
  KESTU_CLASS(TRecordingSkinManager, TsSkinManager)
 public:
  explicit TRecordingSkinManager(TComponent* AOwner) : TsSkinManager(AOwner) {
    SetOnBeforeChange([](TObject*) { Log().push_back(L"before"); });
    SetOnAfterChange([](TObject*) { Log().push_back(L"after"); });
  }
  static std::vector<String>& Log() {
    static std::vector<String> log;
    return log;
  }
};
KESTU_PUBLISH(TRecordingSkinManager) {}

class TStoredSkinForm : public TForm {
  KESTU_CLASS(TStoredSkinForm, TForm)
 public:
  using TForm::TForm;
  TSkinRecorder* Recorder = nullptr;
  TRecordingSkinManager* Manager = nullptr;
};
KESTU_PUBLISH(TStoredSkinForm) {
  p.Field("Recorder", &TStoredSkinForm::Recorder);
  p.Field("Manager", &TStoredSkinForm::Manager);
}

namespace {

const TsSkinData& Skin() { return TsSkinData::Instance(); }

struct Warnings {
  std::vector<String> shown;
  Warnings() {
    TsSkinManager::ShowWarning = [this](const String& text) { shown.push_back(text); };
  }
  ~Warnings() { TsSkinManager::ShowWarning = nullptr; }
};

class SkinManager : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureSkinClasses();
    form = CreateFormFromResource<TSkinTestForm>(Application);
    recorder = new TSkinRecorder(form);
    recorder->SetParent(form);
    recorder->SetBounds(0, 0, 20, 20);
    manager = form->sSkinManager1;
    manager->SetOnBeforeChange([this](TObject* s) {
      events.push_back(s == manager ? L"before" : L"before (wrong sender)");
    });
    manager->SetOnAfterChange([this](TObject*) { events.push_back(L"after"); });
  }
  void TearDown() override { delete form; }
  TSkinTestForm* form = nullptr;
  TSkinRecorder* recorder = nullptr;
  TsSkinManager* manager = nullptr;
  std::vector<String> events;
};

TEST_F(SkinManager, TheInstallersStoredValuesLoadTheInternalSkin) {
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(manager->Registered());
  EXPECT_EQ(manager->HostForm(), form);
  EXPECT_TRUE(manager->Active());
  EXPECT_EQ(manager->SkinName(), L"MacOS (internal)");
  EXPECT_EQ(manager->SkinDirectory(), L"Skins");
  ASSERT_EQ(manager->InternalSkins()->Count(), 1);
  EXPECT_TRUE(Skin().SkinLoaded);
  EXPECT_TRUE(Skin().SkinPath.empty() || Skin().SkinPath.back() != '\\');
  EXPECT_EQ(Skin().gd.size(), 88u);
  EXPECT_EQ(Skin().ma.size(), 77u);
  ASSERT_NE(Skin().MasterBitmap, nullptr);
  EXPECT_EQ(Skin().MasterBitmap->Width(), 200);
  EXPECT_EQ(Skin().MasterBitmap->Height(), 497);
  int close = Skin().FindMaskIndex(Skin().FindSectionIndex("Form"), "FORM", "BICONCLOSE");
  ASSERT_GE(close, 0);
  EXPECT_EQ(Skin().GetMaskSize(close), (MaskSize{17, 19}));

  // The button read its style values and found its section.
  TsActiveBGStyle* style = form->Button1->sStyle();
  EXPECT_EQ(style->SkinSection(), L"TsButton");
  EXPECT_EQ(style->SectionIndex, Skin().FindSectionIndex("TsButton"));
  EXPECT_GE(style->BorderMaskIndex, 0);
  EXPECT_EQ(style->Painting()->Color(), TColor(clBtnFace));
  EXPECT_EQ(style->Background()->Gradient()->Gradient().size(), 2u);
  EXPECT_EQ(style->HotStyle()->HotBackground()->Gradient()->Gradient().size(), 5u);
  EXPECT_EQ(style->HotStyle()->HotPainting()->Transparency(), 0);
  EXPECT_EQ(form->Button1->Caption(), L"安装数据文件到SQL Server");
}

TEST_F(SkinManager, SelectingASkinResetsAppliesAndRepaintsEveryControlInThatOrder) {
  recorder->received.clear();
  manager->SetSkinName(L"MacOS (internal)");
  EXPECT_EQ(recorder->received, (std::vector<UINT>{SKM_RESETLOOKUPS, SKM_APPLYSKIN, SKM_REPAINTALL}));
  EXPECT_EQ(events, (std::vector<String>{L"before", L"after"}));
  EXPECT_FALSE(SkinChanging);

  // A name that is neither a folder nor a stored skin becomes the first stored skin.
  manager->SetSkinName(L"No such skin");
  EXPECT_EQ(manager->SkinName(), L"MacOS (internal)");
  EXPECT_TRUE(Skin().SkinLoaded);
  EXPECT_EQ(Skin().gd.size(), 88u);
}

TEST_F(SkinManager, SwitchingOffDropsTheSkinOnceAndOnAgainReloadsIt) {
  recorder->received.clear();
  manager->SetActive(true);  // unchanged: nothing at all
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(recorder->received.empty());

  manager->SetActive(false);
  EXPECT_EQ(recorder->received, (std::vector<UINT>{SKM_DROPSKIN}));
  EXPECT_EQ(events, (std::vector<String>{L"before", L"after"}));
  EXPECT_FALSE(Skin().SkinLoaded);
  EXPECT_EQ(Skin().MasterBitmap, nullptr);
  EXPECT_EQ(form->Button1->sStyle()->SectionIndex, -1);
  EXPECT_EQ(Skin().FindSectionIndex("TsButton"), -1);

  // While inactive a new name is only stored.
  recorder->received.clear();
  manager->SetSkinName(L"MacOS (internal)");
  EXPECT_TRUE(recorder->received.empty());

  manager->SetActive(true);
  EXPECT_TRUE(Skin().SkinLoaded);
  EXPECT_EQ(form->Button1->sStyle()->SectionIndex, Skin().FindSectionIndex("TsButton"));
}

TEST_F(SkinManager, SwitchingOffWhileLoadingCallsTheEventsButSendsNothing) {
  recorder->received.clear();
  manager->SetLoading(true);
  manager->SetActive(false);
  manager->SetLoading(false);
  EXPECT_EQ(events, (std::vector<String>{L"before", L"after"}));
  EXPECT_TRUE(recorder->received.empty());
}

TEST_F(SkinManager, AnEmptyNameClearsTheSkinFolder) {
  manager->SetSkinName(L"");
  EXPECT_EQ(manager->SkinDirectory(), L"");
  // With stored skins present the first one is still applied.
  EXPECT_EQ(manager->SkinName(), L"MacOS (internal)");
}

TEST_F(SkinManager, ASecondManagerWarnsAndNeverAppliesASkin) {
  Warnings warnings;
  auto* other = new TForm(Application);
  auto* second = new TsSkinManager(other);
  ASSERT_EQ(warnings.shown.size(), 1u);
  EXPECT_EQ(warnings.shown[0],
            L"Please be sure, that only one exemplar of TsSkinManager component is loaded in project.");
  EXPECT_FALSE(second->Registered());
  recorder->received.clear();
  second->SetSkinName(L"Other");
  EXPECT_EQ(second->SkinName(), L"Other");
  EXPECT_TRUE(recorder->received.empty());
  delete other;  // the unregistered manager leaves the skin alone
  EXPECT_TRUE(Skin().SkinLoaded);
  EXPECT_EQ(TsSkinManager::Current(), manager);
}

TEST_F(SkinManager, SkinFolderRules) {
  const String program = ExtractFilePath(ProgramPath());
  manager->SetSkinDirectory(L"./X");
  EXPECT_EQ(manager->ResolveSkinDirectory(), program + L"X");
  manager->SetSkinDirectory(L".\\Y");
  EXPECT_EQ(manager->ResolveSkinDirectory(), program + L"Y");
  manager->SetSkinDirectory(L"Z");
  EXPECT_EQ(manager->ResolveSkinDirectory(), program + L"Z");
  manager->SetSkinDirectory(L"C:\\Skins");
  EXPECT_EQ(manager->ResolveSkinDirectory(), L"C:\\Skins");
  EXPECT_EQ(Skin().SkinPath, "C:\\Skins");
}

TEST_F(SkinManager, ASkinFolderWithADescriptionFileWinsOverStoredSkinsAndIsListed) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const String root = String(temp) + L"kestu_skins_" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(root.c_str(), nullptr);
  CreateDirectoryW((root + L"\\Plain").c_str(), nullptr);
  {
    std::ofstream f(StringToUtf8(root + L"\\Plain\\Options.dat"));
    f << "[GlobalInfo]\n[TsButton]\nPaintingColor=255\n";
  }
  manager->SetSkinDirectory(root);
  manager->SetSkinName(L"Plain");
  EXPECT_EQ(manager->SkinName(), L"Plain");
  EXPECT_NE(Skin().IniFile, nullptr);
  EXPECT_EQ(Skin().SkinPath, StringToUtf8(root + L"\\Plain\\"));
  ASSERT_EQ(Skin().gd.size(), 2u);
  EXPECT_EQ(form->Button1->sStyle()->SectionIndex, 1);
  EXPECT_EQ(Skin().gd[1].PaintingColor, 255u);

  std::vector<String> names;
  EXPECT_EQ(manager->ListAvailableSkins(names), L"MacOS (internal)");
  EXPECT_EQ(names, (std::vector<String>{L"MacOS (internal)", L"Plain"}));

  DeleteFileW((root + L"\\Plain\\Options.dat").c_str());
  RemoveDirectoryW((root + L"\\Plain").c_str());
  RemoveDirectoryW(root.c_str());
}

// ---- the edge cases of skin selection, each through a stored description

// A form with a recorder and a manager holding the stored skins "First" and
// "Second", read from its description with the manager's own lines.
std::unique_ptr<TStoredSkinForm> ReadStoredForm(const std::string& managerLines) {
  EnsureSkinClasses();
  TRecordingSkinManager::Log().clear();
  auto form = std::make_unique<TStoredSkinForm>(Application);
  ReadComponentText(form.get(), "object StoredSkinForm: TStoredSkinForm\n"
                                "  object Recorder: TSkinRecorder\n"
                                "  end\n"
                                "  object Manager: TRecordingSkinManager\n"
                                "    InternalSkins = <\n"
                                "      item\n"
                                "        Name = 'First'\n"
                                "      end\n"
                                "      item\n"
                                "        Name = 'Second'\n"
                                "      end>\n" +
                                    managerLines +
                                    "  end\n"
                                    "end\n");
  return form;
}

bool Received(const TSkinRecorder* recorder, UINT msg) {
  return std::find(recorder->received.begin(), recorder->received.end(), msg) != recorder->received.end();
}

const std::vector<String> kOneSelection{L"before", L"after"};

TEST(SkinManagerStored, AnUnknownNameFallsBackToTheFirstStoredSkin) {
  auto form = ReadStoredForm("    SkinName = 'Nope'\n");
  EXPECT_EQ(form->Manager->SkinName(), L"First");
  EXPECT_TRUE(Skin().SkinLoaded);
  EXPECT_EQ(Skin().IniFile, nullptr);
  EXPECT_EQ(TRecordingSkinManager::Log(), kOneSelection);
  EXPECT_TRUE(Received(form->Recorder, SKM_APPLYSKIN));
  EXPECT_TRUE(Received(form->Recorder, SKM_REPAINTALL));
}

TEST(SkinManagerStored, AnEmptyNameClearsTheFolderAndStillProbesIt) {
  // Without a description file in the program's folder: the first stored skin.
  auto form = ReadStoredForm("    SkinDirectory = 'C:\\nowhere'\n    SkinName = ''\n");
  EXPECT_EQ(form->Manager->SkinDirectory(), L"");
  EXPECT_EQ(form->Manager->SkinName(), L"First");
  form.reset();

  // With one there, the empty name selects it like any folder name would.
  const String options = ExtractFilePath(ProgramPath()) + L"Options.dat";
  {
    std::ofstream f(StringToUtf8(options));
    f << "[GlobalInfo]\n[TsButton]\nPaintingColor=255\n";
  }
  form = ReadStoredForm("    SkinDirectory = 'C:\\nowhere'\n    SkinName = ''\n");
  DeleteFileW(options.c_str());
  EXPECT_EQ(form->Manager->SkinDirectory(), L"");
  EXPECT_EQ(form->Manager->SkinName(), L"");
  EXPECT_NE(Skin().IniFile, nullptr);
  ASSERT_EQ(Skin().gd.size(), 2u);
  EXPECT_EQ(Skin().gd[1].PaintingColor, 255u);
}

TEST(SkinManagerStored, SkinFoldersResolveAgainstTheProgramsFolderUnlessTheyNameADrive) {
  // The build puts the folder Skins, with Slate, beside the test programs.
  const String program = ExtractFilePath(ProgramPath());
  const std::string expected = StringToUtf8(program + L"Skins\\Slate\\");
  for (const std::string folder : {std::string("./Skins"), std::string(".\\Skins"), std::string("Skins"),
                                   StringToUtf8(program + L"Skins")}) {
    SCOPED_TRACE(folder);
    auto form = ReadStoredForm("    SkinDirectory = '" + folder + "'\n    SkinName = 'Slate'\n");
    EXPECT_EQ(form->Manager->SkinName(), L"Slate");
    EXPECT_NE(Skin().IniFile, nullptr);
    EXPECT_EQ(Skin().SkinPath, expected);
  }
}

TEST(SkinManagerStored, ActiveSetToItsOwnValueDoesNothing) {
  auto form = ReadStoredForm("    SkinName = 'Second'\n    Active = True\n");
  EXPECT_EQ(TRecordingSkinManager::Log(), kOneSelection);
  EXPECT_EQ(form->Manager->SkinName(), L"Second");
}

TEST(SkinManagerStored, SwitchedOffWhileReadingCallsBothEventsButSendsNoRemoval) {
  auto form = ReadStoredForm("    SkinName = 'First'\n    Active = False\n");
  EXPECT_EQ(TRecordingSkinManager::Log(), (std::vector<String>{L"before", L"after", L"before", L"after"}));
  EXPECT_FALSE(form->Manager->Active());
  EXPECT_FALSE(Received(form->Recorder, SKM_DROPSKIN));
}

TEST(SkinManagerStored, ASecondManagerStoresItsNameButChangesNothing) {
  auto first = ReadStoredForm("    SkinName = 'First'\n");
  first->Recorder->received.clear();
  Warnings warnings;
  auto second = ReadStoredForm("    SkinName = 'Second'\n");
  EXPECT_EQ(warnings.shown.size(), 1u);
  EXPECT_FALSE(second->Manager->Registered());
  EXPECT_EQ(second->Manager->SkinName(), L"Second");
  EXPECT_TRUE(TRecordingSkinManager::Log().empty());
  EXPECT_TRUE(first->Recorder->received.empty());
  EXPECT_TRUE(second->Recorder->received.empty());
  EXPECT_EQ(TsSkinManager::Current(), first->Manager);
  second.reset();
  EXPECT_TRUE(Skin().SkinLoaded);
}

TEST(SkinManagerLifetime, DestroyingTheRegisteredManagerRemovesTheSkinAndFreesTheSlot) {
  EnsureSkinClasses();
  auto* form = CreateFormFromResource<TSkinTestForm>(Application);
  auto* recorder = new TSkinRecorder(form);
  recorder->SetParent(form);
  EXPECT_TRUE(Skin().SkinLoaded);
  delete form->sSkinManager1;
  EXPECT_FALSE(Skin().SkinLoaded);
  EXPECT_EQ(TsSkinManager::Current(), nullptr);
  EXPECT_EQ(recorder->received.back(), UINT(SKM_DROPSKIN));
  EXPECT_EQ(form->Button1->sStyle()->SectionIndex, -1);
  delete form;
}

}  // namespace
}  // namespace kestu

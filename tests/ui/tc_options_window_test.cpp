// The profile editor, run modally from the main window's "Profiles..." and
// driven from inside its own modal loop.
#include "ui/tc_options_window.h"

#include <string>
#include <vector>

#include "settings/tc_settings_profile.h"
#include "tests/ui/main_window_fixture.h"

namespace {

using ui_test::ListItemText;
using ui_test::WhenDialogAppears;

const wchar_t kEditorTitle[] = L"RZ Accidentals - Profile Editor";

std::string ListBoxEntry(HWND list, int index) {
  wchar_t text[256] = {0};
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return ui_test::Utf8(text);
}

int ComboChoice(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

// A user's choice in a combo box or list box, with the notification it sends.
void Choose(HWND dialog, int id, int index, bool listBox = false) {
  SendDlgItemMessageW(dialog, id, listBox ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, listBox ? LBN_SELCHANGE : CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Type(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }

class OptionsWindowTest : public ui_test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    TCSettingsProfiles profiles;
    for (const char* name : {"Default Profile", "Strict", "Loose"}) {
      auto* profile = new TCSettingsProfile;
      TCString text(name);
      profile->SetName(&text);
      profiles.Add(profile);
    }
    profiles.GetProfileAt(1)->SetCourtesyMeasureRange(4);
    profiles.GetProfileAt(1)->SetSystemTieMode(2);
    profiles.GetProfileAt(1)->SetCheckOptions(0x003);
    ASSERT_TRUE(profiles.SaveProfiles());
    Open();
  }

  // Presses "Profiles..." and lets the script act in the editor.
  void EditProfiles(std::function<void(HWND)> script) {
    WhenDialogAppears(kEditorTitle, std::move(script));
    Press(IDC_MAIN_PROFILES);
  }

  const TCSettingsProfile* Profile(int index) { return window_->GetProfiles()->GetProfileAt(index); }
  std::string ProfileName(int index) {
    const TCSettingsProfile* profile = Profile(index);
    return profile ? profile->GetName()->GetUTF8() : "";
  }
  int PopupChoice() { return ComboChoice(dialog_, IDC_MAIN_PROFILE_POPUP); }
};

TEST_F(OptionsWindowTest, TheEditorShowsTheChosenProfileWithItsOptionRows) {
  Choose(dialog_, IDC_MAIN_PROFILE_POPUP, 1);
  bool ran = false;
  EditProfiles([&](HWND editor) {
    ran = true;
    HWND profiles = GetDlgItem(editor, IDC_EDITOR_PROFILE_LIST);
    EXPECT_EQ(SendMessageW(profiles, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(profiles, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(ui_test::ItemText(editor, IDC_EDITOR_NAME), "Strict");
    EXPECT_EQ(ComboChoice(editor, IDC_EDITOR_NOTATION_MODE), 0);
    EXPECT_EQ(ui_test::ItemText(editor, IDC_EDITOR_NOTATION_MODE), "Traditional");
    EXPECT_EQ(ui_test::ItemText(editor, IDC_EDITOR_SPAN), "4");
    EXPECT_EQ(ui_test::ItemText(editor, IDC_EDITOR_TIE_MODE), "Scan All");
    HWND checks = GetDlgItem(editor, IDC_EDITOR_CHECK_OPTIONS);
    HWND parentheses = GetDlgItem(editor, IDC_EDITOR_PARENTHESIS_OPTIONS);
    EXPECT_EQ(ui_test::ListColumnTitle(checks, 0), "Options");
    EXPECT_EQ(ui_test::ListColumnWidth(checks, 0), 240);
    EXPECT_EQ(ui_test::ListColumnTitle(parentheses, 0), "Cautionary Parentheses");
    EXPECT_EQ(ui_test::ListColumnWidth(parentheses, 0), 190);
    const std::vector<std::string> checkLabels = {"Cross-Stave Checks",
                                                  "Layers as Independent Instruments",
                                                  "Chord Lines as Independent Instruments",
                                                  "Grand Staff as 1 Instrument",
                                                  "Independent Octaves on Same Instrument",
                                                  "Independent Octaves on Cross-Instrument",
                                                  "Restate Differences After Key Sig Change",
                                                  "No Courtesy after 1 Measure Rest",
                                                  "Restate After Grace Note Accidental"};
    const std::vector<std::string> parenthesisLabels = {
        "On Same Beat",         "In Same Measure",  "In Next Measure",   "In 2nd Measure and Forward",
        "After Key Sig Change", "After Grace Note", "Over System Breaks"};
    ASSERT_EQ(SendMessageW(checks, LVM_GETITEMCOUNT, 0, 0), 9);
    for (int row = 0; row < 9; ++row) {
      EXPECT_EQ(ListItemText(checks, row, 0), checkLabels[row]);
      EXPECT_EQ(ui_test::IsListItemChecked(checks, row), row < 2) << row;
    }
    for (int row = 0; row < 7; ++row) EXPECT_EQ(ListItemText(parentheses, row, 0), parenthesisLabels[row]);
    const std::vector<std::string> spans = {"Don't Use", "1", "2", "3", "4", "5", "Infinite"};
    ASSERT_EQ(SendDlgItemMessageW(editor, IDC_EDITOR_SPAN, CB_GETCOUNT, 0, 0), 7);
    const std::vector<std::string> ties = {"Don't Scan",
                                           "Scan Current Part/Score Only",
                                           "Scan All",
                                           "Scan Score Only",
                                           "Scan Parts Only",
                                           "Scan only documents with no linked parts",
                                           "Report only when score and part match system breaks",
                                           "Report all, uncheck score/part conflicts"};
    ASSERT_EQ(SendDlgItemMessageW(editor, IDC_EDITOR_TIE_MODE, CB_GETCOUNT, 0, 0), 8);
    for (int entry = 0; entry < 8; ++entry) {
      Choose(editor, IDC_EDITOR_TIE_MODE, entry);
      EXPECT_EQ(ui_test::ItemText(editor, IDC_EDITOR_TIE_MODE), ties[entry]);
      if (entry < 7) {
        Choose(editor, IDC_EDITOR_SPAN, entry);
        EXPECT_EQ(ui_test::ItemText(editor, IDC_EDITOR_SPAN), spans[entry]);
      }
    }
    ui_test::SaveScreenshotIfAsked(editor, "profile_editor");
    ui_test::Click(editor, IDC_EDITOR_CANCEL);
  });
  EXPECT_TRUE(ran);
  // Cancel changed nothing.
  EXPECT_EQ(Profile(1)->GetSystemTieMode(), 2);
  EXPECT_EQ(Profile(1)->GetCourtesyMeasureRange(), 4);
}

TEST_F(OptionsWindowTest, EditsReachTheProfilesOnOkAndStayWhenSwitchingProfiles) {
  EditProfiles([&](HWND editor) {
    // Profile 0 is shown; change it, look at another and come back.
    Choose(editor, IDC_EDITOR_SPAN, 6);
    Choose(editor, IDC_EDITOR_TIE_MODE, 7);
    ui_test::SetListItemChecked(GetDlgItem(editor, IDC_EDITOR_CHECK_OPTIONS), 0, false);
    Choose(editor, IDC_EDITOR_PROFILE_LIST, 2, true);
    EXPECT_EQ(ui_test::ItemText(editor, IDC_EDITOR_NAME), "Loose");
    Choose(editor, IDC_EDITOR_PROFILE_LIST, 0, true);
    EXPECT_EQ(ui_test::ItemText(editor, IDC_EDITOR_SPAN), "Infinite");
    EXPECT_FALSE(ui_test::IsListItemChecked(GetDlgItem(editor, IDC_EDITOR_CHECK_OPTIONS), 0));
    // A name typed with blanks shows trimmed in the list at once.
    Type(editor, IDC_EDITOR_NAME, L"   House Style  ");
    EXPECT_EQ(ListBoxEntry(GetDlgItem(editor, IDC_EDITOR_PROFILE_LIST), 0), "House Style");
    ui_test::Click(editor, IDC_EDITOR_OK);
  });
  EXPECT_EQ(ProfileName(0), "House Style");
  EXPECT_EQ(Profile(0)->GetCourtesyMeasureRange(), 6);
  EXPECT_EQ(Profile(0)->GetSystemTieMode(), 7);
  EXPECT_EQ(Profile(0)->GetCheckOptions() & 0x001, 0u);
  // "OK" refills the popup and keeps the main window's choice.
  EXPECT_EQ(PopupChoice(), 0);
  char text[64] = {0};
  SendDlgItemMessageA(dialog_, IDC_MAIN_PROFILE_POPUP, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "House Style");
}

TEST_F(OptionsWindowTest, OkKeepsThePopupsChoiceAndLeavesTheWindowUsable) {
  // The popup shows another profile than the one of the last scan.
  Choose(dialog_, IDC_MAIN_PROFILE_POPUP, 2);
  EditProfiles([&](HWND editor) { ui_test::Click(editor, IDC_EDITOR_OK); });
  EXPECT_EQ(PopupChoice(), 2);
  EXPECT_TRUE(IsWindowEnabled(dialog_));
  EXPECT_EQ(GetActiveWindow(), dialog_);
}

TEST_F(OptionsWindowTest, NonLatinNamesShowInTheEditorsListAndInThePopup) {
  EditProfiles([&](HWND editor) {
    Type(editor, IDC_EDITOR_NAME, L"Профиль");
    EXPECT_EQ(ListBoxEntry(GetDlgItem(editor, IDC_EDITOR_PROFILE_LIST), 0), "Профиль");
    ui_test::Click(editor, IDC_EDITOR_OK);
  });
  wchar_t entry[64] = {0};
  SendDlgItemMessageW(dialog_, IDC_MAIN_PROFILE_POPUP, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
  EXPECT_EQ(ui_test::Utf8(entry), "Профиль");
  EditProfiles([&](HWND editor) {
    EXPECT_EQ(ListBoxEntry(GetDlgItem(editor, IDC_EDITOR_PROFILE_LIST), 0), "Профиль");
    ui_test::Click(editor, IDC_EDITOR_CANCEL);
  });
}

TEST_F(OptionsWindowTest, ValuesWithoutAnEntryAreKeptUnlessTheUserChoosesOne) {
  // Written by another version of the file: no popup has entries for them.
  TCSettingsProfile* loose = window_->GetProfiles()->GetProfileAt(2);
  loose->SetNotationMode(3);
  loose->SetCourtesyMeasureRange(9);
  loose->SetSystemTieMode(12);
  // The engraving rules have no row in the editor at all.
  loose->SetEngravingRules(0x5);
  Choose(dialog_, IDC_MAIN_PROFILE_POPUP, 2);
  EditProfiles([&](HWND editor) {
    EXPECT_EQ(ComboChoice(editor, IDC_EDITOR_NOTATION_MODE), CB_ERR);
    EXPECT_EQ(ComboChoice(editor, IDC_EDITOR_SPAN), CB_ERR);
    EXPECT_EQ(ComboChoice(editor, IDC_EDITOR_TIE_MODE), CB_ERR);
    Choose(editor, IDC_EDITOR_SPAN, 2);
    ui_test::Click(editor, IDC_EDITOR_OK);
  });
  EXPECT_EQ(Profile(2)->GetNotationMode(), 3);
  EXPECT_EQ(Profile(2)->GetCourtesyMeasureRange(), 2);
  EXPECT_EQ(Profile(2)->GetSystemTieMode(), 12);
  EXPECT_EQ(Profile(2)->GetEngravingRules(), 0x5u);
}

TEST_F(OptionsWindowTest, AddAndOkAndUseChooseTheNewProfile) {
  EditProfiles([&](HWND editor) {
    Choose(editor, IDC_EDITOR_SPAN, 1);
    ui_test::Click(editor, IDC_EDITOR_ADD);
    HWND profiles = GetDlgItem(editor, IDC_EDITOR_PROFILE_LIST);
    EXPECT_EQ(SendMessageW(profiles, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(profiles, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(ListBoxEntry(profiles, 3), "Profile Name");
    EXPECT_EQ(ui_test::ItemText(editor, IDC_EDITOR_NAME), "Profile Name");
    ui_test::PressKey(editor, VK_RETURN);
  });
  ASSERT_EQ(window_->GetProfiles()->GetCount(), 4);
  EXPECT_EQ(ProfileName(3), "Profile Name");
  EXPECT_EQ(Profile(3)->GetCheckOptions(), 0x1DFu);
  EXPECT_EQ(Profile(3)->GetParenthesisOptions(), 0x31u);
  // The edit made before adding was kept.
  EXPECT_EQ(Profile(0)->GetCourtesyMeasureRange(), 1);
  EXPECT_EQ(PopupChoice(), 3);
}

TEST_F(OptionsWindowTest, DeletingTheLastEntrySelectsTheNewLastAndTheLastProfileCannotGo) {
  EditProfiles([&](HWND editor) {
    HWND profiles = GetDlgItem(editor, IDC_EDITOR_PROFILE_LIST);
    Choose(editor, IDC_EDITOR_PROFILE_LIST, 2, true);
    ui_test::Click(editor, IDC_EDITOR_DELETE);
    EXPECT_EQ(SendMessageW(profiles, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(profiles, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(ui_test::ItemText(editor, IDC_EDITOR_NAME), "Strict");
    ui_test::Click(editor, IDC_EDITOR_DELETE);
    ui_test::Click(editor, IDC_EDITOR_DELETE);
    EXPECT_EQ(SendMessageW(profiles, LB_GETCOUNT, 0, 0), 1);
    ui_test::Click(editor, IDC_EDITOR_OK);
  });
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].title, "Can't Delete");
  EXPECT_EQ(boxes_.Boxes()[0].text,
            "At least one settings profile must exist. Can't delete the last remaining settings profile.");
  EXPECT_EQ(boxes_.Boxes()[0].icon, ui_test::BoxIcon::Error);
  ASSERT_EQ(window_->GetProfiles()->GetCount(), 1);
  EXPECT_EQ(ProfileName(0), "Default Profile");
}

TEST_F(OptionsWindowTest, CancelAndTheCloseBoxDiscardEveryChange) {
  EditProfiles([&](HWND editor) {
    ui_test::Click(editor, IDC_EDITOR_ADD);
    Type(editor, IDC_EDITOR_NAME, L"Thrown away");
    SendMessageW(editor, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(window_->GetProfiles()->GetCount(), 3);
  EditProfiles([&](HWND editor) {
    ui_test::Click(editor, IDC_EDITOR_DELETE);
    ui_test::Click(editor, IDC_EDITOR_CANCEL);
  });
  EXPECT_EQ(window_->GetProfiles()->GetCount(), 3);
  EXPECT_EQ(SendDlgItemMessageW(dialog_, IDC_MAIN_PROFILE_POPUP, CB_GETCOUNT, 0, 0), 3);
}

TEST_F(OptionsWindowTest, AnEditorOpenedWithoutValidChoiceShowsNoProfile) {
  TCOptionsWindow editor(ui_.get(), window_->GetProfiles(), 7);
  editor.CreateControls();
  WhenDialogAppears(kEditorTitle, [&](HWND dialog) {
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_EDITOR_PROFILE_LIST, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(ui_test::ItemText(dialog, IDC_EDITOR_NAME), "");
    EXPECT_EQ(ComboChoice(dialog, IDC_EDITOR_SPAN), CB_ERR);
    EXPECT_EQ(ComboChoice(dialog, IDC_EDITOR_TIE_MODE), CB_ERR);
    EXPECT_FALSE(ui_test::IsListItemChecked(GetDlgItem(dialog, IDC_EDITOR_CHECK_OPTIONS), 0));
    // Delete and OK without a chosen profile do nothing.
    ui_test::Click(dialog, IDC_EDITOR_DELETE);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_EDITOR_PROFILE_LIST, LB_GETCOUNT, 0, 0), 3);
    ui_test::Click(dialog, IDC_EDITOR_OK);
    EXPECT_TRUE(IsWindow(dialog));
    ui_test::Click(dialog, IDC_EDITOR_CANCEL);
  });
  editor.CreateDialogThroughHost(HostWindow(), true);
  EXPECT_EQ(editor.GetResultCode(), TCUserWindow::kResultCancel);
  EXPECT_EQ(editor.GetShownIndex(), -1);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

}  // namespace

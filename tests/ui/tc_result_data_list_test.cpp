// The result list on the main window's template, filled by a real scan of
// one of our example scores.
#include "ui/tc_result_data_list.h"

#include <string>

#include "analysis/accidental_finding.h"
#include "analysis/analysis_settings.h"
#include "analysis/tc_accidentals_analyzer.h"
#include "analysis/tc_analysis_run_context.h"
#include "analysis/tc_undo_block.h"
#include "headless/host_dialogs.h"
#include "score/tc_music_region.h"
#include "tests/ui/recording_window.h"
#include "tests/ui/ui_test_support.h"
#include "ui/tc_data_list_row.h"

namespace {

using ui_test::ListItemText;
using ui_test::RecordingWindow;

class ResultListTest : public ui_test::DialogFixture {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    window_.CreateMainControls();
    ASSERT_NE(window_.CreateDialogThroughHost(headless::host_dialogs::HostWindow(), false), 0);
    dialog_ = window_.GetDialog();
    list_ = GetDlgItem(dialog_, IDC_MAIN_RESULT_LIST);
    results_ = window_.results;
    results_->AddExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    for (const char* title : {"Staff", "Location", "Note", "Info", "Accidental"}) results_->AddColumn(title, 80);
  }

  void TearDown() override {
    window_.CloseWindow();
    DialogFixture::TearDown();
  }

  // Imports the example and scans all of it into the result list, as Scan does.
  void ScanExample(const std::string& name) {
    std::string message;
    ASSERT_TRUE(ui_test::ImportExample(name, &message)) << message;
    TCMusicRegion region;
    region.ReadCurrentSelection();
    TCAccidentalsAnalyzer analyzer(results_->GetRows(), AnalysisSettings{});
    analyzer.SetRegion(&region);
    TCUndoBlock block;
    ASSERT_TRUE(block.ExecuteHandler(&analyzer, TCAccidentalsAnalyzer::kEditName));
    results_->RefreshTexts();
  }

  RecordingWindow window_;
  HWND dialog_ = nullptr;
  HWND list_ = nullptr;
  TCResultDataList* results_ = nullptr;
};

TEST_F(ResultListTest, AScanOfAnExampleShowsItsFindingInTheFiveColumns) {
  ScanExample("grace_note.musicxml");
  ASSERT_EQ(results_->GetItemCount(), 1);
  EXPECT_EQ(ListItemText(list_, 0, 0), "Flute");
  EXPECT_EQ(ListItemText(list_, 0, 1), "M 1: L 1: #3");
  EXPECT_EQ(ListItemText(list_, 0, 2), "F#5");
  EXPECT_EQ(ListItemText(list_, 0, 3), "Accidental on previous grace note.");
  EXPECT_EQ(ListItemText(list_, 0, 4), "(#) *");
  EXPECT_TRUE(ui_test::IsListItemChecked(list_, 0));
  ui_test::SaveScreenshotIfAsked(dialog_, "result_list");

  // Toggling twice gives the text back.
  ui_test::SelectListItem(list_, 0);
  ui_test::SaveScreenshotIfAsked(dialog_, "result_list_selected");
  results_->ToggleParentheses();
  EXPECT_EQ(ListItemText(list_, 0, 4), "# *");
  results_->ToggleParentheses();
  EXPECT_EQ(ListItemText(list_, 0, 4), "(#) *");
}

TEST_F(ResultListTest, SelectingARowEnablesItsButtonsAndFillsTheLabels) {
  ScanExample("piano_grand_staff.musicxml");
  ASSERT_EQ(results_->GetItemCount(), 3);
  ui_test::SelectListItem(list_, 1);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, IDC_MAIN_VIEW)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, IDC_MAIN_TOGGLE)));
  const AccidentalFinding* finding = results_->GetSelectedFinding();
  ASSERT_NE(finding, nullptr);
  EXPECT_EQ(ui_test::ItemText(dialog_, IDC_MAIN_LOCATION_CAPTION),
            std::string("Location (") + finding->pitchName.GetUTF8() + "):   ");
  EXPECT_EQ(ui_test::ItemText(dialog_, IDC_MAIN_LOCATION), finding->location.GetUTF8());
  EXPECT_EQ(ui_test::ItemText(dialog_, IDC_MAIN_RELATED_CAPTION),
            std::string("Reference (") + finding->relatedPitchName.GetUTF8() + "):   ");
  EXPECT_FALSE(ui_test::ItemText(dialog_, IDC_MAIN_RELATED_LOCATION).empty());

  ui_test::SelectListItem(list_, -1);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, IDC_MAIN_VIEW)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, IDC_MAIN_SELECT_IN_DOCUMENT)));
  EXPECT_EQ(ui_test::ItemText(dialog_, IDC_MAIN_LOCATION_CAPTION), "");
  EXPECT_EQ(ui_test::ItemText(dialog_, IDC_MAIN_LOCATION), "");
}

TEST_F(ResultListTest, CheckAllAndRemovingAppliedRowsKeepRowsAndItemsInStep) {
  ScanExample("piano_grand_staff.musicxml");
  ASSERT_EQ(results_->GetItemCount(), 3);
  EXPECT_TRUE(results_->AnyChecked());
  results_->CheckAll(false);
  EXPECT_FALSE(results_->AnyChecked());
  for (int item = 0; item < 3; ++item) EXPECT_FALSE(ui_test::IsListItemChecked(list_, item));
  ui_test::SetListItemChecked(list_, 2, true);
  EXPECT_TRUE(results_->AnyChecked());

  std::string lastLocation = ListItemText(list_, 2, 1);
  GetRowFinding(results_->GetRow(0))->applied = true;
  GetRowFinding(results_->GetRow(1))->applied = true;
  results_->RemoveAppliedRows();
  ASSERT_EQ(results_->GetItemCount(), 1);
  EXPECT_EQ(results_->GetRows()->GetRowCount(), 1);
  EXPECT_EQ(ListItemText(list_, 0, 1), lastLocation);
  EXPECT_TRUE(ui_test::IsListItemChecked(list_, 0));

  results_->ReleaseFindings();
  EXPECT_EQ(GetRowFinding(results_->GetRow(0)), nullptr);
  EXPECT_EQ(ListItemText(list_, 0, 1), lastLocation) << "rows stay until they are removed";
  results_->ClearRows();
  EXPECT_EQ(results_->GetItemCount(), 0);
}

}  // namespace

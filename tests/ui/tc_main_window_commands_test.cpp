// Scan, Change Checked, View and the rest, pressed as a user presses them,
// on our example scores.
#include "ui/tc_main_window.h"

#include <vector>

#include "analysis/accidental_finding.h"
#include "analysis/tc_analysis_run_context.h"
#include "headless/document_snapshot.h"
#include "headless/score_builder.h"
#include "tests/ui/main_window_fixture.h"

namespace {

using ui_test::BoxIcon;
using ui_test::ListItemText;

// Where a finding's note is, kept beyond the life of the finding.
struct NotePlace {
  int16_t staff;
  int16_t measure;
  int layer;
  int entryIndex;
  int noteIndex;
};

class MainWindowCommandsTest : public ui_test::MainWindowFixture {
 protected:
  // The piano example: three findings in measures 1, 3 and 2, on the lower staff.
  void ScanPiano() {
    ImportAndOpen("piano_grand_staff.musicxml");
    Press(IDC_MAIN_SCAN);
    ASSERT_EQ(ResultCount(), 3);
  }

  NotePlace PlaceOfRow(int item) {
    const AccidentalFinding* finding = GetRowFinding(window_->GetResultList()->GetRow(item));
    EXPECT_NE(finding, nullptr);
    if (!finding) return NotePlace{};
    return NotePlace{finding->staff, static_cast<int16_t>(finding->measure), finding->layer, finding->entryIndex,
                     finding->noteIndex};
  }

  bool AccidentalShown(const NotePlace& place) {
    headless::EntryInfo entry;
    if (!Host().Queries().EntryAt(place.staff, place.measure, place.layer, place.entryIndex, &entry)) return false;
    return place.noteIndex >= 0 && static_cast<size_t>(place.noteIndex) < entry.notes.size() &&
           entry.notes[place.noteIndex].AccidentalShown();
  }

  int16_t StaffAtSlot(int slot) { return Host().StaffAtSlot(0, slot); }

  void SelectMeasure(int16_t measure) {
    ASSERT_TRUE(Host().Selection().Set(StaffAtSlot(1), measure, 0, StaffAtSlot(2), measure, 0x7FFFFFFF));
  }

  const std::vector<ui_test::ShownBox>& Boxes() { return boxes_.Boxes(); }
};

TEST_F(MainWindowCommandsTest, ScanFillsTheReportAndTheLabelsOfTheSelectedRow) {
  ScanPiano();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(ListItemText(ResultList(), 0, 0), "Piano [Staff 2]");
  EXPECT_EQ(ListItemText(ResultList(), 0, 1), "M 1: L 1: #1");
  EXPECT_EQ(ListItemText(ResultList(), 0, 2), "F3");
  EXPECT_EQ(ListItemText(ResultList(), 0, 3), "Differ on beat with F#4 (on grand staff).");
  EXPECT_EQ(ListItemText(ResultList(), 0, 4), "(n) *");
  EXPECT_EQ(ListItemText(ResultList(), 2, 4), "n *");
  EXPECT_TRUE(Enabled(IDC_MAIN_CHANGE_CHECKED));
  EXPECT_TRUE(Enabled(IDC_MAIN_CHECK_ALL));
  EXPECT_FALSE(Enabled(IDC_MAIN_VIEW));
  ui_test::SelectListItem(ResultList(), 0);
  EXPECT_TRUE(Enabled(IDC_MAIN_VIEW));
  EXPECT_EQ(ui_test::ItemText(dialog_, IDC_MAIN_LOCATION_CAPTION), "Location (F3):   ");
  EXPECT_EQ(ui_test::ItemText(dialog_, IDC_MAIN_RELATED_CAPTION), "Reference (F#4):   ");
  ui_test::SaveScreenshotIfAsked(dialog_, "main_window_scanned");
  // The scan ran as an edit of its own, named for the plug-in.
  EXPECT_EQ(Host().Edits().Ended().back(), "Accidentals");

  // Closed and opened again, the window still shows the report of the scan.
  Press(IDC_MAIN_CLOSE);
  Open();
  ASSERT_EQ(ResultCount(), 3);
  EXPECT_EQ(ListItemText(ResultList(), 2, 1), "M 2: L 1: #2");
  EXPECT_TRUE(ui_test::IsListItemChecked(ResultList(), 2));
  EXPECT_TRUE(Enabled(IDC_MAIN_CHANGE_CHECKED));
}

TEST_F(MainWindowCommandsTest, ScanRefusalsLeaveTheEarlierReportInPlace) {
  ScanPiano();
  Host().Selection().Clear();
  Press(IDC_MAIN_SCAN);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "No Region Selected");
  EXPECT_EQ(Boxes()[0].text, "Please select a region in the document before processing.");
  EXPECT_EQ(Boxes()[0].icon, BoxIcon::Information);
  EXPECT_EQ(ResultCount(), 3);
  // Once the box is answered the window takes clicks again.
  EXPECT_TRUE(IsWindowEnabled(dialog_));
  EXPECT_EQ(GetActiveWindow(), dialog_);

  Host().Selection().SelectAll();
  for (int layer = 0; layer < 4; ++layer) ui_test::SetListItemChecked(Item(IDC_MAIN_LAYER_LIST), layer, false);
  Press(IDC_MAIN_SCAN);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[1].title, "No Layers");
  EXPECT_EQ(Boxes()[1].text, "Please check at least one layer for processing.");
  EXPECT_EQ(ResultCount(), 3);
  EXPECT_EQ(window_->GetLayerMask(), 0u);
}

TEST_F(MainWindowCommandsTest, AScanWithoutFindingsSaysSoAndDisablesTheListButtons) {
  ImportAndOpen("piano_grand_staff.musicxml");
  // Layer 4 holds no notes.
  for (int layer = 0; layer < 3; ++layer) ui_test::SetListItemChecked(Item(IDC_MAIN_LAYER_LIST), layer, false);
  Press(IDC_MAIN_SCAN_CHANGE);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "Nothing to Report");
  EXPECT_EQ(Boxes()[0].text,
            "No lacking accidentals were found, based on the selected settings profile. Try to change the profile "
            "settings to achieve a different report result from the Scan.");
  EXPECT_EQ(ResultCount(), 0);
  EXPECT_FALSE(Enabled(IDC_MAIN_CHANGE_CHECKED));
  EXPECT_FALSE(Enabled(IDC_MAIN_CHECK_ALL));
  EXPECT_EQ(window_->GetLayerMask(), 8u);
}

TEST_F(MainWindowCommandsTest, ChangeCheckedWritesTheAccidentalsAsOneEditThatUndoesExactly) {
  ScanPiano();
  std::vector<NotePlace> places = {PlaceOfRow(0), PlaceOfRow(1), PlaceOfRow(2)};
  // The second finding is left unchecked by the user.
  ui_test::SetListItemChecked(ResultList(), 1, false);
  headless::DocumentSnapshot before = Host().Snapshot();
  size_t edits = Host().Edits().UndoHistory().size();
  Press(IDC_MAIN_CHANGE_CHECKED);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(AccidentalShown(places[0]));
  EXPECT_FALSE(AccidentalShown(places[1]));
  EXPECT_TRUE(AccidentalShown(places[2]));
  ASSERT_EQ(ResultCount(), 1);
  EXPECT_EQ(ListItemText(ResultList(), 0, 1), "M 3: L 1: #1");
  EXPECT_FALSE(ui_test::IsListItemChecked(ResultList(), 0));
  ASSERT_EQ(Host().Edits().UndoHistory().size(), edits + 1);
  EXPECT_EQ(Host().Edits().UndoHistory().back(), "Accidentals");
  EXPECT_GT(Host().CallLog().Count("TX_RedrawMusic"), 0);

  ASSERT_TRUE(Host().Edits().Undo());
  EXPECT_TRUE(Host().Snapshot() == before);

  // What is left is not checked: nothing to change.
  Press(IDC_MAIN_CHANGE_CHECKED);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "No Checked Items");
  EXPECT_EQ(Boxes()[0].text, "There are no checked items in the list to change.");
}

TEST_F(MainWindowCommandsTest, ScanAndChangeWritesEveryFindingAsOneEditAndEmptiesTheList) {
  ScanPiano();
  std::vector<NotePlace> places = {PlaceOfRow(0), PlaceOfRow(1), PlaceOfRow(2)};
  headless::DocumentSnapshot before = Host().Snapshot();
  size_t edits = Host().Edits().UndoHistory().size();
  Press(IDC_MAIN_SCAN_CHANGE);
  EXPECT_TRUE(Boxes().empty());
  for (const NotePlace& place : places) EXPECT_TRUE(AccidentalShown(place));
  EXPECT_EQ(ResultCount(), 0);
  EXPECT_FALSE(Enabled(IDC_MAIN_CHANGE_CHECKED));
  EXPECT_FALSE(Enabled(IDC_MAIN_CHECK_ALL));
  // The scan and the change are an edit each; undoing the change alone gives the score back.
  ASSERT_EQ(Host().Edits().UndoHistory().size(), edits + 2);
  EXPECT_EQ(Host().Edits().UndoHistory().back(), "Accidentals");
  ASSERT_TRUE(Host().Edits().Undo());
  EXPECT_TRUE(Host().Snapshot() == before);
}

TEST_F(MainWindowCommandsTest, AChangedSelectionAsksWhichRegionToUse) {
  ScanPiano();
  std::vector<NotePlace> places = {PlaceOfRow(0), PlaceOfRow(1), PlaceOfRow(2)};
  SelectMeasure(1);
  size_t edits = Host().Edits().UndoHistory().size();
  // A box closed without Yes or No confirms neither region.
  boxes_.Answer(IDCANCEL);
  Press(IDC_MAIN_CHANGE_CHECKED);
  EXPECT_FALSE(AccidentalShown(places[0]));
  EXPECT_EQ(ResultCount(), 3);
  EXPECT_EQ(Host().Edits().UndoHistory().size(), edits);
  boxes_.Clear();

  boxes_.Answer(IDNO);
  Press(IDC_MAIN_CHANGE_CHECKED);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "Use Scanned Region?");
  EXPECT_EQ(Boxes()[0].text,
            "The selected region has changed since the scan.\n\nDo you want to apply the changes to the scanned "
            "region? (If you select 'No', the changes will be applied to the currently selected region.)");
  EXPECT_EQ(Boxes()[0].icon, BoxIcon::None);
  // No: only what lies in the current selection.
  EXPECT_TRUE(AccidentalShown(places[0]));
  EXPECT_FALSE(AccidentalShown(places[1]));
  EXPECT_EQ(ResultCount(), 2);

  boxes_.Answer(IDYES);
  Press(IDC_MAIN_CHANGE_CHECKED);
  EXPECT_TRUE(AccidentalShown(places[1]));
  EXPECT_TRUE(AccidentalShown(places[2]));
  EXPECT_EQ(ResultCount(), 0);
  EXPECT_FALSE(Enabled(IDC_MAIN_CHANGE_CHECKED));
}

TEST_F(MainWindowCommandsTest, WithoutSelectionNoAppliesNothing) {
  ScanPiano();
  NotePlace first = PlaceOfRow(0);
  Host().Selection().Clear();
  boxes_.Answer(IDNO);
  size_t edits = Host().Edits().UndoHistory().size();
  Press(IDC_MAIN_CHANGE_CHECKED);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "Use Scanned Region?");
  EXPECT_EQ(Boxes()[0].text,
            "There isn't any selected region.\nDo you want to apply the changes to the scanned region?");
  EXPECT_FALSE(AccidentalShown(first));
  EXPECT_EQ(ResultCount(), 3);
  EXPECT_EQ(Host().Edits().UndoHistory().size(), edits);
}

TEST_F(MainWindowCommandsTest, AnotherDocumentBlocksChangeViewAndSelect) {
  ScanPiano();
  int16_t scanned = Host().CurrentDocument();
  Host().NewDocument();
  ui_test::SelectListItem(ResultList(), 0);
  for (int id : {IDC_MAIN_CHANGE_CHECKED, IDC_MAIN_VIEW, IDC_MAIN_SELECT_IN_DOCUMENT}) Press(id);
  ASSERT_EQ(Boxes().size(), 3u);
  for (const auto& box : Boxes()) {
    EXPECT_EQ(box.title, "Different Document");
    EXPECT_EQ(box.text,
              "The currently document is not the same as when the 'Scan' was made. Please switch back to the scanned "
              "document and try again.");
  }
  EXPECT_EQ(Host().CallLog().Count("TX_ScrollTo"), 0);
  Host().SetCurrentDocument(scanned);
  Press(IDC_MAIN_VIEW);
  EXPECT_EQ(Boxes().size(), 3u);
}

TEST_F(MainWindowCommandsTest, ViewScrollsToTheFindingAndRecordsNoEdit) {
  ScanPiano();
  ui_test::SelectListItem(ResultList(), 1);
  NotePlace place = PlaceOfRow(1);
  size_t edits = Host().Edits().UndoHistory().size();
  Host().CallLog().Clear();
  Press(IDC_MAIN_VIEW);
  std::vector<headless::HostCall> scrolls = Host().CallLog().Named("TX_ScrollTo");
  ASSERT_FALSE(scrolls.empty());
  EXPECT_EQ(scrolls.back().arguments, (std::vector<int64_t>{place.measure, place.staff}));
  EXPECT_EQ(Host().Edits().UndoHistory().size(), edits);
  EXPECT_EQ(Host().Edits().Cancelled().back(), "view");
}

TEST_F(MainWindowCommandsTest, SelectInDocumentStepsFromNoteToRelatedNoteToScannedRegion) {
  ScanPiano();
  headless::SelectionRecord scanned = Host().Selection().Record();
  ui_test::SelectListItem(ResultList(), 0);
  const AccidentalFinding* finding = window_->GetResultList()->GetSelectedFinding();
  ASSERT_NE(finding, nullptr);
  ASSERT_TRUE(finding->hasRelated);

  Press(IDC_MAIN_SELECT_IN_DOCUMENT);
  headless::SelectionRecord note = Host().Selection().Record();
  EXPECT_EQ(note.startSlot, Host().SlotOfStaff(0, finding->staff));
  EXPECT_EQ(note.endSlot, note.startSlot);
  EXPECT_EQ(note.startMeasure, finding->measure);
  EXPECT_EQ(note.startPosition, finding->position);
  EXPECT_EQ(note.endPosition, finding->position + finding->entryTimeValue);

  // A double click on the row does the same as the button.
  SendMessageW(dialog_, WM_NOTIFY, IDC_MAIN_RESULT_LIST, [&] {
    static NMHDR header{};
    header.hwndFrom = ResultList();
    header.idFrom = IDC_MAIN_RESULT_LIST;
    header.code = NM_DBLCLK;
    return reinterpret_cast<LPARAM>(&header);
  }());
  headless::SelectionRecord related = Host().Selection().Record();
  EXPECT_EQ(related.startSlot, Host().SlotOfStaff(0, finding->relatedStaff));
  EXPECT_EQ(related.startMeasure, finding->relatedMeasure);
  EXPECT_EQ(related.startPosition, finding->relatedPosition);

  Press(IDC_MAIN_SELECT_IN_DOCUMENT);
  headless::SelectionRecord back = Host().Selection().Record();
  EXPECT_EQ(back.startSlot, scanned.startSlot);
  EXPECT_EQ(back.endSlot, scanned.endSlot);
  EXPECT_EQ(back.startMeasure, scanned.startMeasure);
  EXPECT_EQ(back.endMeasure, scanned.endMeasure);
  EXPECT_EQ(back.endPosition, scanned.endPosition);
}

TEST_F(MainWindowCommandsTest, SelectInDocumentFromNoSelectionOrANoteWithoutRelatedNoteSelectsTheScannedRegion) {
  ScanPiano();
  headless::SelectionRecord scanned = Host().Selection().Record();
  auto isScanned = [&](const headless::SelectionRecord& now) {
    return now.startSlot == scanned.startSlot && now.endSlot == scanned.endSlot &&
           now.startMeasure == scanned.startMeasure && now.endMeasure == scanned.endMeasure &&
           now.startPosition == scanned.startPosition && now.endPosition == scanned.endPosition;
  };
  ui_test::SelectListItem(ResultList(), 0);
  Host().Selection().Clear();
  Press(IDC_MAIN_SELECT_IN_DOCUMENT);
  EXPECT_TRUE(isScanned(Host().Selection().Record()));

  AccidentalFinding* finding = window_->GetResultList()->GetSelectedFinding();
  ASSERT_NE(finding, nullptr);
  finding->hasRelated = false;
  Press(IDC_MAIN_SELECT_IN_DOCUMENT);
  EXPECT_EQ(Host().Selection().Record().startMeasure, finding->measure);
  EXPECT_FALSE(isScanned(Host().Selection().Record()));
  Press(IDC_MAIN_SELECT_IN_DOCUMENT);
  EXPECT_TRUE(isScanned(Host().Selection().Record()));
}

TEST_F(MainWindowCommandsTest, AnOlderHostGetsColumnsAndCellTextsThroughEightBitMessages) {
  Host().SetHostVersion(0x10000000);
  ScanPiano();
  // An older host makes 8-bit dialogs, whose list views ask for 8-bit texts.
  EXPECT_FALSE(IsWindowUnicode(dialog_));
  EXPECT_EQ(ui_test::ListColumnTitle(ResultList(), 3), "Info");
  EXPECT_EQ(ui_test::ListColumnWidth(ResultList(), 3), 150);
  EXPECT_EQ(ListItemText(ResultList(), 0, 0), "Piano [Staff 2]");
  EXPECT_EQ(ListItemText(ResultList(), 0, 3), "Differ on beat with F#4 (on grand staff).");
  EXPECT_EQ(ListItemText(Item(IDC_MAIN_LAYER_LIST), 2, 0), "3");
}

TEST_F(MainWindowCommandsTest, ViewLaysOutTheScoreAndShowsTheWholeSystemInASmallWindow) {
  ScanPiano();
  headless::ScoreBuilder builder(Host());
  builder.SetMeasuresPerSystem(2);
  builder.SetUnlaidSystems(true);
  // A window that shows pages and is too small to show a measure on its own.
  Host().Environment().SetWindowInfo(1, 100);
  ui_test::SelectListItem(ResultList(), 0);
  Host().CallLog().Clear();
  Press(IDC_MAIN_VIEW);
  EXPECT_EQ(Host().CallLog().Count("TX_UpdateLayout"), 1);
  std::vector<int64_t> measures;
  for (const headless::HostCall& call : Host().CallLog().Named("TX_ScrollTo")) measures.push_back(call.arguments[0]);
  // Measure 1 stands in the first system, measures 1 and 2: its two ends, then the measure.
  EXPECT_EQ(measures, (std::vector<int64_t>{1, 2, 1}));

  // A window without pages: only the measure.
  Host().Environment().SetWindowInfo(0, 100);
  Host().CallLog().Clear();
  Press(IDC_MAIN_VIEW);
  ASSERT_EQ(Host().CallLog().Count("TX_ScrollTo"), 1);
  EXPECT_EQ(Host().CallLog().Count("TX_UpdateLayout"), 0);
}

TEST_F(MainWindowCommandsTest, ANoteWithoutDurationIsSelectedAsA512UnitSpan) {
  ScanPiano();
  headless::SelectionRecord scanned = Host().Selection().Record();
  ui_test::SelectListItem(ResultList(), 0);
  AccidentalFinding* finding = window_->GetResultList()->GetSelectedFinding();
  ASSERT_NE(finding, nullptr);
  finding->entryTimeValue = 0;
  finding->position = 100;
  Press(IDC_MAIN_SELECT_IN_DOCUMENT);
  EXPECT_EQ(Host().Selection().Record().startPosition, 100);
  EXPECT_EQ(Host().Selection().Record().endPosition, 512);
  Host().Selection().SetRecord(scanned);
  finding->position = 700;
  Press(IDC_MAIN_SELECT_IN_DOCUMENT);
  EXPECT_EQ(Host().Selection().Record().startPosition, 188);
  EXPECT_EQ(Host().Selection().Record().endPosition, 700);
}

TEST_F(MainWindowCommandsTest, ToggleAndCheckAllActOnTheReport) {
  ScanPiano();
  ui_test::SelectListItem(ResultList(), 0);
  Press(IDC_MAIN_TOGGLE);
  EXPECT_EQ(ListItemText(ResultList(), 0, 4), "n *");
  Press(IDC_MAIN_TOGGLE);
  EXPECT_EQ(ListItemText(ResultList(), 0, 4), "(n) *");
  Press(IDC_MAIN_CHECK_ALL);
  for (int item = 0; item < 3; ++item) EXPECT_FALSE(ui_test::IsListItemChecked(ResultList(), item));
  Press(IDC_MAIN_CHECK_ALL);
  for (int item = 0; item < 3; ++item) EXPECT_TRUE(ui_test::IsListItemChecked(ResultList(), item));
}

TEST_F(MainWindowCommandsTest, AFailedChangeKeepsTheReport) {
  ScanPiano();
  NotePlace first = PlaceOfRow(0);
  // The user changed the notes since the scan: nothing can be applied.
  for (int item = 0; item < 3; ++item) {
    NotePlace place = PlaceOfRow(item);
    Host().SetCellReadOnly(place.staff, place.measure, place.layer, true);
  }
  Press(IDC_MAIN_CHANGE_CHECKED);
  EXPECT_EQ(ResultCount(), 3);
  EXPECT_FALSE(AccidentalShown(first));
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace

// Control objects on real dialog items: what they show and what they read.
#include "ui/tc_control.h"

#include "analysis/accidental_finding.h"
#include "framework/tc_string.h"
#include "headless/host_dialogs.h"
#include "shell/host_version.h"
#include "tests/ui/recording_window.h"
#include "tests/ui/ui_test_support.h"
#include "ui/tc_ctrl_list_box.h"
#include "ui/tc_data_list_row.h"

namespace {

using ui_test::RecordingWindow;

class ControlsTest : public ui_test::DialogFixture {
 protected:
  void Open(RecordingWindow* window) {
    EXPECT_NE(window->CreateDialogThroughHost(headless::host_dialogs::HostWindow(), false), 0);
    ASSERT_NE(window->GetDialog(), nullptr);
  }

  static TCDataListRow* Row(std::initializer_list<const char*> texts, bool checked) {
    auto* row = new TCDataListRow(static_cast<int32_t>(texts.size()));
    int32_t column = 0;
    for (const char* text : texts) row->SetColumnCString(column++, text);
    row->SetChecked(checked);
    return row;
  }
};

TEST_F(ControlsTest, ClassNamesFollowTheControlKinds) {
  TCCtrlCheckbox checkbox(1);
  TCCtrlButton button(2);
  TCCtrlPopup popup(3);
  TCCtrlDataList list(4);
  TCCtrlListBox listBox(5);
  EXPECT_STREQ(checkbox.ClassName(), "TCControl");
  EXPECT_STREQ(button.ClassName(), "TCControl");
  EXPECT_STREQ(popup.ClassName(), "TCCtrlPopup");
  EXPECT_STREQ(list.ClassName(), "TCCtrlDataList");
  EXPECT_STREQ(listBox.ClassName(), "TCCtrlListBox");
  EXPECT_EQ(list.GetControlKind(), TCControl::kKindDataList);
  EXPECT_EQ(button.GetControlKind(), TCControl::kKindPlain);
  // Without a dialog every operation does nothing.
  EXPECT_EQ(popup.GetItemCount(), 0);
  EXPECT_EQ(listBox.GetSelection(), -1);
  EXPECT_EQ(list.GetRow(0), nullptr);
}

TEST_F(ControlsTest, CheckBoxesPopupsTextsAndEnabledStatesGoThroughTheHost) {
  RecordingWindow window;
  window.CreateMainControls();
  Open(&window);
  HWND dialog = window.GetDialog();
  window.respace->SetCheck(1);
  EXPECT_EQ(window.respace->GetCheck(), 1);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MAIN_RESPACE), BST_CHECKED);
  EXPECT_GT(Host().CallLog().Count("TX_SetDlgItemVal"), 0);

  for (const char* name : {"One", "Two", "Three", "Four", "Five", "Six", "Seven"}) window.popup->AddItem(name);
  EXPECT_EQ(window.popup->GetItemCount(), 7);
  window.popup->SetValue(3);
  EXPECT_EQ(window.popup->GetValue(), 3);
  EXPECT_EQ(ui_test::ItemText(dialog, IDC_MAIN_PROFILE_POPUP), "Three");
  window.popup->ClearItems();
  EXPECT_EQ(window.popup->GetItemCount(), 0);

  TCControl* label = window.FindControl(IDC_MAIN_LOCATION);
  TCString text("M 3, beat 2 \xE9");
  label->SetText(&text);
  EXPECT_EQ(ui_test::ItemText(dialog, IDC_MAIN_LOCATION), "M 3, beat 2 \xC3\xA9");
  TCString readBack;
  label->GetText(&readBack);
  EXPECT_TRUE(readBack.IsEqual(&text));
  label->SetText(nullptr);
  EXPECT_EQ(ui_test::ItemText(dialog, IDC_MAIN_LOCATION), "");
  // Older hosts get 8-bit text.
  SetHostVersion(0x10000000);
  label->SetText(&text);
  label->GetText(&readBack);
  SetHostVersion(0x12050000);
  EXPECT_TRUE(readBack.IsEqual(&text));
  EXPECT_GT(Host().CallLog().Count("TX_SetDlgString"), 0);

  TCControl* view = window.FindControl(IDC_MAIN_VIEW);
  view->SetEnabled(false);
  EXPECT_FALSE(view->IsEnabled());
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_MAIN_VIEW)));
  view->SetEnabled(true);
  EXPECT_TRUE(view->IsEnabled());
  view->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_MAIN_VIEW)));
  EXPECT_EQ(window.FindControl(999), nullptr);

  // Redrawing a control that has no dialog leaves every window alone.
  UpdateWindow(dialog);
  ValidateRect(dialog, nullptr);
  TCCtrlStatic orphan(IDC_MAIN_LOCATION);
  orphan.Redraw();
  EXPECT_FALSE(GetUpdateRect(dialog, nullptr, FALSE));
  label->Redraw();
  EXPECT_TRUE(GetUpdateRect(GetDlgItem(dialog, IDC_MAIN_LOCATION), nullptr, FALSE));
  window.CloseWindow();
}

TEST_F(ControlsTest, ListBoxEntriesKeepTheSelectionWhenRenamed) {
  RecordingWindow editor(IDD_RZ_PROFILE_EDITOR);
  auto* profiles = new TCCtrlListBox(IDC_EDITOR_PROFILE_LIST);
  editor.AddControl(profiles);
  Open(&editor);
  HWND list = GetDlgItem(editor.GetDialog(), IDC_EDITOR_PROFILE_LIST);
  for (const char* name : {"Default Profile", "Strict", "Loose"}) {
    TCString text(name);
    profiles->AddItem(&text);
  }
  EXPECT_EQ(profiles->GetItemCount(), 3);
  EXPECT_EQ(profiles->GetSelection(), -1);
  profiles->SetSelection(1);
  TCString renamed("Very Strict");
  profiles->SetItemText(1, &renamed);
  profiles->SetItemText(-1, &renamed);
  EXPECT_EQ(profiles->GetSelection(), 1);
  EXPECT_EQ(profiles->GetItemCount(), 3);
  wchar_t shown[64] = {0};
  SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(shown));
  EXPECT_EQ(ui_test::Utf8(shown), "Very Strict");
  profiles->DeleteItem(0);
  EXPECT_EQ(profiles->GetItemCount(), 2);
  editor.CloseWindow();
}

TEST_F(ControlsTest, DataListShowsRowTextsAndKeepsCheckMarksInStepWithRows) {
  RecordingWindow window;
  window.CreateMainControls();
  Open(&window);
  HWND list = GetDlgItem(window.GetDialog(), IDC_MAIN_LAYER_LIST);
  TCCtrlDataList* layers = window.layers;
  layers->AddExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
  EXPECT_TRUE(layers->AddColumn("Layer", 40));
  EXPECT_EQ(ui_test::ListColumnTitle(list, 0), "Layer");
  EXPECT_EQ(ui_test::ListColumnWidth(list, 0), 40);
  EXPECT_EQ(layers->AddRow(Row({"1"}, true)), 0);
  EXPECT_EQ(layers->AddRow(Row({"2"}, false)), 1);
  EXPECT_EQ(layers->AddRow(Row({"3", "extra"}, true)), 2);
  EXPECT_EQ(ui_test::ListItemText(list, 1, 0), "2");
  EXPECT_EQ(ui_test::ListItemText(list, 2, 1), "extra");
  // A column beyond the row's strings.
  EXPECT_EQ(ui_test::ListItemText(list, 0, 7), "???");
  EXPECT_TRUE(ui_test::IsListItemChecked(list, 0));
  EXPECT_FALSE(ui_test::IsListItemChecked(list, 1));
  ui_test::SaveScreenshotIfAsked(window.GetDialog(), "layer_list");

  // The user ticks and unticks: the rows follow.
  ui_test::SetListItemChecked(list, 1, true);
  ui_test::SetListItemChecked(list, 0, false);
  EXPECT_TRUE(layers->GetRow(1)->IsChecked());
  EXPECT_FALSE(layers->GetRow(0)->IsChecked());

  EXPECT_FALSE(layers->RemoveRow(5));
  EXPECT_EQ(layers->GetRows()->GetRowCount(), 3);
  EXPECT_TRUE(layers->RemoveRow(0));
  EXPECT_EQ(layers->GetRows()->GetRowCount(), 2);
  EXPECT_EQ(ui_test::ListItemText(list, 0, 0), "2");
  // The analysis removes rows through the collection; the items go with them.
  layers->GetRows()->RemoveRowAt(1);
  EXPECT_EQ(layers->GetItemCount(), 1);
  layers->ClearRows();
  EXPECT_EQ(layers->GetItemCount(), 0);
  EXPECT_EQ(layers->GetRows()->GetRowCount(), 0);
  window.CloseWindow();
}

TEST_F(ControlsTest, RowsAddedWithoutDialogAreKeptWithoutItem) {
  TCCtrlDataList list(IDC_MAIN_RESULT_LIST);
  auto* row = Row({"a"}, true);
  EXPECT_LT(list.AddRow(row), 0);
  EXPECT_EQ(list.GetRows()->GetRowCount(), 1);
  EXPECT_EQ(row->GetItemIndex(), -1);
  EXPECT_EQ(row->GetOwningList(), list.GetRows());
}

}  // namespace

// The report: one row per finding of the last scan, five columns, a check
// box per row. Each row keeps its finding as its user value; the list
// releases the findings whenever their rows go away.
#pragma once

#include <cstdint>

#include "ui/tc_ctrl_data_list.h"

class AccidentalFinding;

class TCResultDataList : public TCCtrlDataList {
 public:
  using TCCtrlDataList::TCCtrlDataList;
  ~TCResultDataList() override;
  const char* ClassName() const override { return "TCResultDataList"; }

  void ItemSelected(int32_t index) override;
  void SelectionCleared() override;
  void ItemDoubleClicked() override;

  void ReleaseFindings();
  // From the last row to the first: every row whose finding was applied goes,
  // with its finding.
  void RemoveAppliedRows();
  // Rewrites the texts of every row from its finding and repaints.
  void RefreshTexts();
  // Inverts the parentheses of the selected row's finding.
  void ToggleParentheses();
  bool AnyChecked() const;
  void CheckAll(bool checked);
  // The row at the selection mark, or null.
  TCDataListRow* GetSelectedRow() const;
  int32_t GetSelectionMark() const;
  // The finding shown by the row at the selection mark, or null.
  AccidentalFinding* GetSelectedFinding() const;
  // Fills the four info labels of the parent window from a row (-1: empties them).
  void ShowInfo(int32_t index);
  // Enables the buttons that act on the selected row.
  void EnableRowButtons(bool enabled);

 private:
  void RedrawFirstItems();
  void SetLabel(int16_t id, const TCString* text);
};

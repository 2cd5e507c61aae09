// A list view in report mode whose content is a collection of rows: the rows
// hold the texts and check states, the control only shows them and asks for
// the texts when it paints.
#pragma once

#include <cstdint>

#include "ui/tc_control.h"
#include "ui/tc_data_list_rows.h"

class TCDataListRow;

class TCCtrlDataList : public TCControl {
 public:
  // State images of the item check boxes, under the state-image mask.
  static constexpr uint32_t kStateImageMask = 0xF000;
  static constexpr uint32_t kCheckedImage = 0x2000;
  static constexpr uint32_t kUncheckedImage = 0x1000;

  explicit TCCtrlDataList(int16_t id);
  ~TCCtrlDataList() override;
  const char* ClassName() const override { return "TCCtrlDataList"; }
  int32_t GetControlKind() const override { return kKindDataList; }

  // Notifications from the list view, delivered by the window.
  virtual void ItemSelected(int32_t index);
  virtual void SelectionCleared();
  virtual void CheckChanged(int32_t index, bool checked);
  virtual void ItemDoubleClicked();

  void AddExtendedStyle(uint32_t bits);
  bool AddColumn(const TCString* title, int32_t width);
  bool AddColumn(const char* title, int32_t width);
  // Takes the row over; answers the item index (negative when the control
  // refused it; the row is kept all the same).
  int32_t AddRow(TCDataListRow* row);
  // Shows a row the list already holds in a new item (a dialog made again
  // for the same list); answers the item index.
  int32_t ShowRow(TCDataListRow* row);
  // Removes the item and destroys its row; false when there is no such item.
  bool RemoveRow(int32_t index);
  void ClearRows();
  // The row shown by the item, or null.
  TCDataListRow* GetRow(int32_t index) const;
  int32_t GetItemCount() const;
  // Shows the check mark of an item.
  void SetItemChecked(int32_t index, bool checked);
  // The rows, as the analysis and the change handler work on them.
  TCDataListRows* GetRows() { return &rows_; }
  const TCDataListRows* GetRows() const { return &rows_; }

 private:
  // The row collection's control side: adding a row inserts its item,
  // removing a row removes the item that shows it.
  class ControlRows : public TCDataListRows {
   public:
    explicit ControlRows(TCCtrlDataList* list) : list_(list) {}

   protected:
    int32_t InsertRowItem(TCDataListRow* row) override;
    void DeleteRowItem(TCDataListRow* row) override;
    void ClearRowItems() override;

   private:
    TCCtrlDataList* list_;
  };

  int32_t InsertItem(TCDataListRow* row);

  ControlRows rows_;

 protected:
  // The item showing the row, or -1.
  int32_t FindItemOfRow(const TCDataListRow* row) const;
};

// A list box with 0-based entries.
#pragma once

#include <cstdint>

#include "ui/tc_control.h"

class TCCtrlListBox : public TCControl {
 public:
  using TCControl::TCControl;
  const char* ClassName() const override { return "TCCtrlListBox"; }

  void ClearItems();
  // Adds the text: UTF-16 where the host's version allows it, else its 8-bit form.
  void AddItem(const TCString* text);
  int32_t GetItemCount() const;
  // -1 when nothing is selected.
  int32_t GetSelection() const;
  void SetSelection(int32_t index);
  void DeleteItem(int32_t index);
  // Replaces the entry's text, keeping the selection where it was.
  void SetItemText(int32_t index, const TCString* text);
};

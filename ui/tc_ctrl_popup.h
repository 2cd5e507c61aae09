// A drop-down list combo box. Its value, as the host's dialog functions give
// it, is the 1-based number of the chosen entry.
#pragma once

#include <cstdint>

#include "ui/tc_control.h"

class TCCtrlPopup : public TCControl {
 public:
  using TCControl::TCControl;
  const char* ClassName() const override { return "TCCtrlPopup"; }

  void ClearItems();
  // Adds the text: UTF-16 where the host's version allows it, else its 8-bit form.
  void AddItem(const TCString* text);
  void AddItem(const char* text);
  int32_t GetItemCount() const;
  int32_t GetValue() const;
  void SetValue(int32_t entry);
};

// Shows a measure of a staff in the host's document window: the whole system
// it stands in first, when the window is small enough for that to matter,
// then the measure itself. Runs in an undo block but records nothing.
#pragma once

#include <cstdint>

#include "analysis/tc_undo_block.h"

class TCUI;

class TCViewInDocHandler : public __TCUndoBlockHandler {
 public:
  static constexpr const char* kEditName = "view";

  TCViewInDocHandler(TCUI* ui, int16_t staff, int32_t measure) : ui_(ui), staff_(staff), measure_(measure) {}
  const char* ClassName() const override { return "TCViewInDocHandler"; }

  // Always false, so that the undo block keeps nothing.
  bool Execute() override;

 private:
  // The host's window information; false when the host has none.
  static bool ReadWindowInfo(uint8_t* record);
  void ScrollTo(int32_t measure) const;
  void ScrollToSystemOfMeasure() const;

  TCUI* ui_;
  int16_t staff_;
  int32_t measure_;
};

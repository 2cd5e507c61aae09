// The answer of a backward search through a group's memory: the note found
// and the analysed entry that holds it, both null when nothing was found.
// Neither is owned.
#pragma once

#include "framework/tc_base.h"

class TCNotePitch;
class TCNotePitches;

class TCNotePitchFoundInfo : public __TCBase {
 public:
  const char* ClassName() const override { return "TCNotePitchFoundInfo"; }

  bool IsFound() const { return note != nullptr; }
  void Set(const TCNotePitch* foundNote, const TCNotePitches* foundEntry) {
    note = foundNote;
    entry = foundEntry;
  }
  void Clear() { Set(nullptr, nullptr); }

  const TCNotePitch* note = nullptr;
  const TCNotePitches* entry = nullptr;
};

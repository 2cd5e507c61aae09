// A tied-over altered note found at the start of a system in one part.
#pragma once

#include <cstdint>

#include "framework/tc_collection.h"

class TCSystemTieOccasion : public __TCBase {
 public:
  TCSystemTieOccasion(int32_t measure, int32_t staff, uint32_t entryNumber, int32_t noteIndex, int16_t partId)
      : measure(measure), staff(staff), entryNumber(entryNumber), noteIndex(noteIndex), partId(partId) {}

  const char* ClassName() const override { return "TCSystemTieOccasion"; }

  int32_t measure;  // the measure that begins the system
  int32_t staff;
  uint32_t entryNumber;
  int32_t noteIndex;    // -1 if not found
  int16_t partId;       // 0: the score
  bool report = true;   // cleared when the note lies outside the region
  bool matched = true;  // cleared when score and parts disagree
};

class TCSystemTieOccasions : public __TCCollection {
 public:
  const char* ClassName() const override { return "TCSystemTieOccasions"; }

  TCSystemTieOccasion* GetOccasionAt(int32_t index) const { return ItemAs<TCSystemTieOccasion>(*this, index); }
  // The first occasion of that part for that entry, or null.
  TCSystemTieOccasion* Find(int16_t partId, uint32_t entryNumber) const;
};

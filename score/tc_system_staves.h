#pragma once

#include <cstdint>

#include "score/tc_record_collections.h"
#include "score/tc_system_staff.h"

// The staves of one staff system in their order; system 0 is the score's staff order.
class TCSystemStaves : public __TCCollectionInciOther {
 public:
  const char* ClassName() const override { return "TCSystemStaves"; }
  __TCBaseData* CreateElement() override { return new TCSystemStaff(); }
  // Deletes every staff record of the system, last inci first.
  virtual bool DeleteAllForSystem(int16_t system);
  // Clears, then inci 0, 1, ... until the first that does not load; the count.
  virtual int32_t LoadAllForSystem(int16_t system);
  // Replaces the system's staff records by the elements, in order.
  virtual bool SaveAllForSystem(int16_t system);

  TCSystemStaff* GetStaffAt(int32_t index) const { return ItemAs<TCSystemStaff>(*this, index); }
  TCSystemStaff* FindStaff(int32_t staff) const;
  // Index of the staff in the order, or -1.
  int32_t IndexOfStaff(int32_t staff) const;

 private:
  // Highest inci that loads for the system, -1 when none.
  int32_t FindLastInci(int16_t system);
};

// A named set of analysis choices, as the user keeps it in the settings file.
#pragma once

#include <cstdint>

#include "framework/tc_base.h"
#include "framework/tc_string.h"

class TCSettingsProfile : public __TCBase {
 public:
  TCSettingsProfile();
  ~TCSettingsProfile() override;

  const char* ClassName() const override { return "TCSettingsProfile"; }
  // Writes Name, NotationMode, CourtesyMeasureRange, SystemTieMode and one
  // "1"/"0" attribute per check and parenthesis option, in table order, and
  // the engraving rules as attributes of a child element of their own (left
  // out while they are a new profile's and the element is not there).
  void SaveToXml(tinyxml2::XMLElement* element) const override;
  // False when the element has no Name attribute; missing values (and a
  // missing rules element) take the defaults of a new profile.
  bool LoadFromXml(const tinyxml2::XMLElement* element) override;

  const TCString* GetName() const { return &name_; }
  void SetName(const TCString* name) { name_.SetString(name); }
  uint32_t GetCheckOptions() const { return checkOptions_; }
  void SetCheckOptions(uint32_t options) { checkOptions_ = options; }
  uint32_t GetParenthesisOptions() const { return parenthesisOptions_; }
  void SetParenthesisOptions(uint32_t options) { parenthesisOptions_ = options; }
  uint32_t GetEngravingRules() const { return engravingRules_; }
  void SetEngravingRules(uint32_t rules) { engravingRules_ = rules; }
  int32_t GetCourtesyMeasureRange() const { return courtesyMeasureRange_; }
  void SetCourtesyMeasureRange(int32_t range) { courtesyMeasureRange_ = range; }
  int32_t GetNotationMode() const { return notationMode_; }
  void SetNotationMode(int32_t mode) { notationMode_ = mode; }
  int32_t GetSystemTieMode() const { return systemTieMode_; }
  void SetSystemTieMode(int32_t mode) { systemTieMode_ = mode; }

  // Name and the six values of other.
  void CopyValuesFrom(const TCSettingsProfile* other);
  // Whether other has the same name and the same six values.
  bool HasSameValues(const TCSettingsProfile* other) const;

 private:
  TCString name_;
  uint32_t checkOptions_;
  uint32_t parenthesisOptions_;
  uint32_t engravingRules_;
  int32_t courtesyMeasureRange_;
  int32_t notationMode_;
  int32_t systemTieMode_;
};

// The C library's atoi on UTF-8 text (leading white space, optional sign,
// digits up to the first other character, 0 when there are none), except that
// a number beyond the 32-bit range gives the nearest limit instead of
// undefined behaviour.
int32_t ConvertLikeAtoi(const char* text);

// Key/value settings as the preferences files hold them, one "key=value"
// line each.
#pragma once

#include <cstdint>

#include "framework/tc_collection.h"
#include "framework/tc_string.h"

class TCSettingsPair : public __TCBase {
 public:
  // Copies both texts, each trimmed of white space at both ends.
  TCSettingsPair(const TCString* key, const TCString* value);

  const char* ClassName() const override { return "TCSettingsPair"; }
  const TCString* GetKey() const { return &key_; }
  const TCString* GetValue() const { return &value_; }
  // Stores value exactly as given.
  void SetValue(const TCString* value) { value_.SetString(value); }

  // Whether key names this pair; A to Z match their lower-case letters.
  bool HasKey(const TCString* key) const;

 private:
  TCString key_;
  TCString value_;
};

// Owns its pairs, in file order.
class TCSettingsPairs : public __TCCollection {
 public:
  const char* ClassName() const override { return "TCSettingsPairs"; }
  TCSettingsPair* GetPairAt(int32_t index) const;
  // The first pair whose key matches, ignoring the case of A to Z; or null.
  TCSettingsPair* FindPair(const TCString* key) const;
  TCSettingsPair* FindPair(const char* key) const;
  // Gives the first matching pair an exact copy of value (its key keeps its
  // spelling), or appends a new pair; returns that pair, or null for a null key.
  TCSettingsPair* SetPair(const TCString* key, const TCString* value);
  TCSettingsPair* SetPair(const char* key, const char* value);
};

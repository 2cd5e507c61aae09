#include "settings/tc_settings_pair.h"

namespace {

char16_t FoldCase(char16_t unit) {
  return (unit >= 'A' && unit <= 'Z') ? static_cast<char16_t>(unit - 'A' + 'a') : unit;
}

}  // namespace

TCSettingsPair::TCSettingsPair(const TCString* key, const TCString* value) {
  key_.SetString(key);
  value_.SetString(value);
  key_.TrimWhitespace();
  value_.TrimWhitespace();
}

bool TCSettingsPair::HasKey(const TCString* key) const {
  if (!key || key->GetLength() != key_.GetLength()) return false;
  for (int32_t i = 0; i < static_cast<int32_t>(key_.GetLength()); ++i) {
    if (FoldCase(key_.GetCharAt(i)) != FoldCase(key->GetCharAt(i))) return false;
  }
  return true;
}

TCSettingsPair* TCSettingsPairs::GetPairAt(int32_t index) const {
  return dynamic_cast<TCSettingsPair*>(GetItemAt(index));
}

TCSettingsPair* TCSettingsPairs::FindPair(const TCString* key) const {
  if (!key) return nullptr;
  for (int32_t index = 0; index < GetCount(); ++index) {
    TCSettingsPair* pair = GetPairAt(index);
    if (pair && pair->HasKey(key)) return pair;
  }
  return nullptr;
}

TCSettingsPair* TCSettingsPairs::FindPair(const char* key) const {
  if (!key) return nullptr;
  TCString text(key);
  return FindPair(&text);
}

TCSettingsPair* TCSettingsPairs::SetPair(const TCString* key, const TCString* value) {
  if (!key) return nullptr;
  TCString empty;
  if (!value) value = &empty;
  if (TCSettingsPair* pair = FindPair(key)) {
    pair->SetValue(value);
    return pair;
  }
  auto* pair = new TCSettingsPair(key, value);
  Add(pair);
  return pair;
}

TCSettingsPair* TCSettingsPairs::SetPair(const char* key, const char* value) {
  if (!key) return nullptr;
  TCString keyText(key);
  TCString valueText(value ? value : "");
  return SetPair(&keyText, &valueText);
}

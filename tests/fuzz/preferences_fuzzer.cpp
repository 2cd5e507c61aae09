// The preferences file: read its pairs, set one of ours, write them back, and
// read them again: the same pairs in the same order, ours added or changed.
// A file whose read failed is never written.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "settings/plugin_text_file.h"
#include "settings/tc_settings_pair.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string Text(const TCString* text) { return std::string(text->GetCString(), text->GetLength()); }

bool SamePair(const TCSettingsPair* left, const TCSettingsPair* right) {
  return Text(left->GetKey()) == Text(right->GetKey()) && Text(left->GetValue()) == Text(right->GetValue());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ScratchFolder& folder = fuzz::ScratchFolder::Instance();
  folder.Clear();
  fuzz::FreshHost();
  std::string path = folder.File("rzpluginprefs.txt");
  fuzz::WriteBytes(path, data, size);

  PreferencesRead read = PreferencesRead::Failed;
  std::unique_ptr<TCSettingsPairs> before(ReadPreferencesFile(&read));
  fuzz::Check(read == PreferencesRead::Read, "a file that is there reads whole");
  for (int32_t index = 0; index < before->GetCount(); ++index) {
    fuzz::Check(!before->GetPairAt(index)->GetKey()->IsEmpty(), "no pair has a blank key");
  }

  TCSettingsPairs ours;
  ours.SetPair("RZACCIDENTALS_LAYERS", "15");
  fuzz::Check(UpdatePreferencesFile(&ours), "the file is written");
  before->SetPair("RZACCIDENTALS_LAYERS", "15");

  std::unique_ptr<TCSettingsPairs> after(ReadPreferencesFile(&read));
  fuzz::Check(read == PreferencesRead::Read, "the written file reads whole");
  fuzz::Check(after->GetCount() == before->GetCount(), "every pair comes back");
  for (int32_t index = 0; index < after->GetCount(); ++index) {
    fuzz::Check(SamePair(before->GetPairAt(index), after->GetPairAt(index)), "each pair comes back as it was");
  }
  return 0;
}

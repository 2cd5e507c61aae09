#include "settings/plugin_text_file.h"

#include <cstdio>
#include <memory>

#include "framework/tc_strings.h"
#include "settings/plugin_folder.h"
#include "settings/tc_file_stream.h"
#include "settings/tc_settings_pair.h"

namespace {

constexpr const char* kPreferencesFileName = "rzpluginprefs.txt";
constexpr const char* kOptionsFileName = "rzpluginoptions.txt";

// The lines of an opened stream, closed as soon as they are read; null as
// ReadAllLines answers.
std::unique_ptr<TCStrings> ReadAndClose(TCTextFileStream* stream) {
  std::unique_ptr<TCStrings> lines(stream->ReadAllLines());
  stream->Close();
  return lines;
}

// Writes the low byte of every unit, zeros included, so that an odd
// character inside a value cannot cut its line short.
bool WriteEightBit(const TCString* text, FILE* file) {
  uint32_t length = text->GetLength();
  if (length == 0) return true;
  return std::fwrite(text->GetCString(), 1, length, file) == length;
}

}  // namespace

TCTextFileStream* CreatePluginTextFile(bool preferences) {
  uint8_t folder[kPluginFolderBufferSize];
  ReadPluginFolderBuffer(folder);
  TCString name(preferences ? kPreferencesFileName : kOptionsFileName);
  return new TCTextFileStream(folder, &name);
}

TCSettingsPairs* ParsePairs(const TCStrings* lines) {
  auto* pairs = new TCSettingsPairs;
  if (!lines) return pairs;
  for (int32_t index = 0; index < lines->GetCount(); ++index) {
    const TCString* line = lines->GetStringAt(index);
    if (!line) continue;
    int32_t separator = line->FindCString("=", 0);
    if (separator <= 0) continue;
    TCString key;
    key.SetString(line);
    key.RemoveAt(separator, static_cast<int32_t>(line->GetLength()));
    TCString value;
    value.SetString(line);
    value.RemoveAt(0, separator + 1);
    auto* pair = new TCSettingsPair(&key, &value);
    // A blank key would be written back as "=value", which no read finds.
    if (pair->GetKey()->IsEmpty()) {
      delete pair;
      continue;
    }
    pairs->Add(pair);
  }
  return pairs;
}

TCSettingsPairs* ReadPreferencesFile(PreferencesRead* read) {
  if (read) *read = PreferencesRead::Failed;
  std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(true));
  if (!stream->OpenRead()) {
    if (read && stream->IsMissing()) *read = PreferencesRead::Absent;
    return new TCSettingsPairs;
  }
  std::unique_ptr<TCStrings> lines = ReadAndClose(stream.get());
  if (read && lines) *read = PreferencesRead::Read;
  return ParsePairs(lines.get());
}

bool WritePairsToFile(const TCSettingsPairs* pairs) {
  std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(true));
  if (!stream->OpenWrite()) return false;
  bool written = true;
  for (int32_t index = 0; pairs && index < pairs->GetCount(); ++index) {
    const TCSettingsPair* pair = pairs->GetPairAt(index);
    if (!pair) continue;
    TCString line;
    line.SetString(pair->GetKey());
    line.AppendCString("=");
    line.AppendString(pair->GetValue());
    line.AppendCString("\n");
    if (!WriteEightBit(&line, stream->GetFile())) written = false;
  }
  if (!stream->Close()) written = false;
  return written;
}

bool UpdatePreferencesFile(const TCSettingsPairs* ours) {
  PreferencesRead read = PreferencesRead::Failed;
  std::unique_ptr<TCSettingsPairs> pairs(ReadPreferencesFile(&read));
  if (read == PreferencesRead::Failed) return false;
  for (int32_t index = 0; ours && index < ours->GetCount(); ++index) {
    const TCSettingsPair* pair = ours->GetPairAt(index);
    if (pair) pairs->SetPair(pair->GetKey(), pair->GetValue());
  }
  return WritePairsToFile(pairs.get());
}

TCSettingsPair* ReadOption(const TCString* key) {
  if (!key) return nullptr;
  std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(false));
  if (!stream->OpenRead()) return nullptr;
  std::unique_ptr<TCStrings> lines = ReadAndClose(stream.get());
  std::unique_ptr<TCSettingsPairs> pairs(ParsePairs(lines.get()));
  const TCSettingsPair* found = pairs->FindPair(key);
  return found ? new TCSettingsPair(found->GetKey(), found->GetValue()) : nullptr;
}

#include "settings/plugin_text_file.h"

#include <cstdio>
#include <memory>
#include <string>

#include "framework/tc_strings.h"
#include "platform/win32.h"
#include "settings/plugin_folder.h"
#include "settings/storage_file.h"
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

bool WriteLines(const TCSettingsPairs* pairs, FILE* file) {
  bool written = true;
  for (int32_t index = 0; pairs && index < pairs->GetCount(); ++index) {
    const TCSettingsPair* pair = pairs->GetPairAt(index);
    if (!pair) continue;
    TCString line;
    line.SetString(pair->GetKey());
    line.AppendCString("=");
    line.AppendString(pair->GetValue());
    line.AppendCString("\n");
    if (!WriteEightBit(&line, file)) written = false;
  }
  return written;
}

bool IsThere(const std::string& path) {
  FILE* file = PlatformOpenFile(path.c_str(), "rb");
  if (file) std::fclose(file);
  return file != nullptr;
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
  std::string path;
  if (!stream->BuildPath(&path)) return false;
  // The file holds the keys of other plug-ins as well. A rewrite cut short
  // (a full disk, a lost network share) would leave it without them, so the
  // old file is kept aside until the new one is written whole.
  std::string backup;
  if (IsThere(path) && !CopyToBackup(path.c_str(), &backup)) return false;
  bool written = stream->OpenWrite() && WriteLines(pairs, stream->GetFile());
  written = stream->Close() && written;
  if (backup.empty()) return written;
  // A backup that could not be put back stays beside the file, for the user.
  if (written || RestoreFromBackup(backup, path.c_str())) RemoveBackup(backup);
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

#include "settings/plugin_text_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/tc_strings.h"
#include "platform/win32.h"
#include "settings/plugin_folder.h"
#include "settings/storage_file.h"
#include "settings/tc_file_stream.h"
#include "settings/tc_settings_pair.h"

namespace {

constexpr const char* kPreferencesFileName = "rzpluginprefs.txt";
constexpr const char* kOptionsFileName = "rzpluginoptions.txt";
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

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

bool IsThere(const std::string& path) {
  FILE* file = PlatformOpenFile(path.c_str(), "rb");
  if (file) std::fclose(file);
  return file != nullptr;
}

bool WriteLines(const TCStrings* lines, FILE* file) {
  bool written = true;
  for (int32_t index = 0; index < lines->GetCount(); ++index) {
    const TCString* line = lines->GetStringAt(index);
    if (!line) continue;
    TCString ended;
    ended.SetString(line);
    ended.AppendCString("\n");
    if (!WriteEightBit(&ended, file)) written = false;
  }
  return written;
}

TCString* PairLine(const TCString* key, const TCString* value) {
  auto* line = new TCString;
  line->SetString(key);
  line->AppendCString("=");
  line->AppendString(value);
  return line;
}

// The pair a line holds, owned by the caller; null for a line that holds
// none (no "=", or a key blank after trimming).
TCSettingsPair* ParseLine(const TCString* line) {
  int32_t separator = line->FindCString("=", 0);
  if (separator <= 0) return nullptr;
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
    return nullptr;
  }
  return pair;
}

// Takes a UTF-8 byte-order mark off the start of the first line, where an
// editor may have put it and where it would hide the first key.
bool TakeByteOrderMark(TCStrings* lines) {
  TCString* first = lines->GetStringAt(0);
  if (!first || !first->StartsWith(kByteOrderMark)) return false;
  first->RemoveAt(0, static_cast<int32_t>(std::strlen(kByteOrderMark)));
  return true;
}

void PutByteOrderMark(TCStrings* lines) {
  TCString* first = lines->GetStringAt(0);
  if (!first) return;
  TCString marked(kByteOrderMark);
  marked.AppendString(first);
  first->SetString(&marked);
}

// Gives the first line that holds each of our keys its new value and
// appends a line for each key no line holds; every other line stays as it
// is, for it belongs to another program.
void SetOurLines(TCStrings* lines, const TCSettingsPairs* ours) {
  std::vector<std::unique_ptr<TCSettingsPair>> parsed;
  parsed.reserve(static_cast<size_t>(lines->GetCount()));
  for (int32_t index = 0; index < lines->GetCount(); ++index) {
    const TCString* line = lines->GetStringAt(index);
    parsed.emplace_back(line ? ParseLine(line) : nullptr);
  }
  for (int32_t ourIndex = 0; ours && ourIndex < ours->GetCount(); ++ourIndex) {
    const TCSettingsPair* pair = ours->GetPairAt(ourIndex);
    if (!pair) continue;
    auto holds = [pair](const std::unique_ptr<TCSettingsPair>& line) { return line && line->HasKey(pair->GetKey()); };
    auto found = std::find_if(parsed.begin(), parsed.end(), holds);
    if (found == parsed.end()) {
      lines->Add(PairLine(pair->GetKey(), pair->GetValue()));
      continue;
    }
    std::unique_ptr<TCString> line(PairLine((*found)->GetKey(), pair->GetValue()));
    lines->GetStringAt(static_cast<int32_t>(found - parsed.begin()))->SetString(line.get());
  }
}

// Rewrites the preferences file with lines. The file holds the keys of
// other plug-ins as well. A rewrite cut short (a full disk, a lost network
// share) would leave it without them, so the old file is kept aside until
// the new one is written whole.
bool WriteLinesToFile(const TCStrings* lines) {
  std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(true));
  std::string path;
  if (!stream->BuildPath(&path)) return false;
  std::string backup;
  if (IsThere(path) && !CopyToBackup(path.c_str(), &backup)) return false;
  bool written = stream->OpenWrite() && WriteLines(lines, stream->GetFile());
  written = stream->Close() && written;
  if (backup.empty()) return written;
  // A backup that could not be put back stays beside the file, for the user.
  if (written || RestoreFromBackup(backup, path.c_str())) RemoveBackup(backup);
  return written;
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
    TCString unmarked;
    if (index == 0 && line->StartsWith(kByteOrderMark)) {
      unmarked.SetString(line);
      unmarked.RemoveAt(0, static_cast<int32_t>(std::strlen(kByteOrderMark)));
      line = &unmarked;
    }
    if (TCSettingsPair* pair = ParseLine(line)) pairs->Add(pair);
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
  TCStrings lines;
  for (int32_t index = 0; pairs && index < pairs->GetCount(); ++index) {
    const TCSettingsPair* pair = pairs->GetPairAt(index);
    if (pair) lines.Add(PairLine(pair->GetKey(), pair->GetValue()));
  }
  return WriteLinesToFile(&lines);
}

bool UpdatePreferencesFile(const TCSettingsPairs* ours) {
  std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(true));
  std::unique_ptr<TCStrings> lines;
  if (stream->OpenRead()) {
    lines = ReadAndClose(stream.get());
    if (!lines) return false;
  } else if (stream->IsMissing()) {
    lines.reset(new TCStrings);
  } else {
    return false;
  }
  bool marked = TakeByteOrderMark(lines.get());
  SetOurLines(lines.get(), ours);
  if (marked) PutByteOrderMark(lines.get());
  return WriteLinesToFile(lines.get());
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

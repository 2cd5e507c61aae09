// The host functions for documents, parts, edits, the selection, the view,
// layout, menu commands, folders and names.
#include <algorithm>
#include <cstring>
#include <string>

#include "headless/document.h"
#include "headless/headless_host.h"
#include "headless/host_call_handler.h"
#include "headless/host_text.h"
#include "headless/record_layouts.h"
#include "headless/score_layout.h"
#include "shell/host_version.h"

namespace headless {

namespace {

constexpr int32_t kNoNextPart = 0xFFFF;
constexpr size_t kPathBufferSize = 520;

}  // namespace

int32_t HostCallHandler::GetCurrentDocument() { return host_.CurrentDocument(); }

int32_t HostCallHandler::GetCurrentPartID() {
  Document* document = Current();
  return document ? document->currentPart : 0;
}

int32_t HostCallHandler::SetCurrentPartID(int32_t part) {
  Document* document = Current();
  if (!document || part < 0 || part > 0x7FFF || !document->content.HasPart(static_cast<int16_t>(part))) return 0;
  document->currentPart = static_cast<int16_t>(part);
  return 1;
}

int32_t HostCallHandler::GetNextPartID(int32_t part) {
  Document* document = Current();
  if (!document || part < 0 || part > 0x7FFF) return kNoNextPart;
  const auto& parts = document->content.parts;
  if (!parts.count(static_cast<int16_t>(part))) return kNoNextPart;
  auto next = parts.upper_bound(static_cast<int16_t>(part));
  return next == parts.end() ? kNoNextPart : next->first;
}

int32_t HostCallHandler::StartEdit(const char* utf8Name) { return host_.Edits().Start(utf8Name) ? 1 : 0; }

int32_t HostCallHandler::EndEdit() {
  if (host_.Edits().OpenCount() == 0) {
    host_.Misuse().ReportCallError("TX_EndTavrelEdit without an open edit");
    return 0;
  }
  return host_.Edits().End() ? 1 : 0;
}

int32_t HostCallHandler::CancelEdit() {
  if (host_.Edits().OpenCount() == 0) {
    host_.Misuse().ReportCallError("TX_CancelTavrelEdit without an open edit");
    return 0;
  }
  return host_.Edits().Cancel() ? 1 : 0;
}

int32_t HostCallHandler::GetCurERegions(void* first, void* region, void* third) {
  (void)third;  // the plug-in only hands it back to TX_RedrawMusic
  Document* document = Current();
  if (first) host_frame::Write<int32_t>(first, 0, 0);
  if (region) std::memset(region, 0, kSelectionRecordSize);
  if (!document || !region) return 0;
  host_.Selection().Record().WriteTo(region);
  return 1;
}

int32_t HostCallHandler::SetCurERegion(const void* region) {
  if (!Current() || !region) return 0;
  host_.Selection().SetRecord(SelectionRecord::ReadFrom(region));
  return 1;
}

int32_t HostCallHandler::RedrawMusic() { return Current() ? 1 : 0; }

int32_t HostCallHandler::UpdateLayout() {
  Document* document = Current();
  if (!document) return 0;
  document->content.unlaidSystems = false;
  LayOutSystems(document->content, true);
  return 1;
}

int32_t HostCallHandler::ScrollTo() { return Current() ? 1 : 0; }

int32_t HostCallHandler::GetCurrentWindowInfo(void* record) {
  const HostEnvironment& environment = host_.Environment();
  if (!record || !Current() || !environment.WindowInfoAnswers()) return 0;
  RecordBytes info(static_cast<size_t>(kWindowInfoSize), 0);
  WindowInfoRecord::Field528::Set(info, environment.PageView());
  WindowInfoRecord::Field530::Set(info, environment.Zoom());
  std::memcpy(record, info.data(), info.size());
  return 1;
}

int32_t HostCallHandler::GetTavrelPath(int32_t folderKind, void* buffer) {
  uint32_t version = host_.HostVersion();
  int32_t expected = version < kHostVersion2010 ? kOldPluginFolderKind : kPluginFolderKind;
  if (folderKind != expected) {
    host_.Misuse().ReportCallError("TX_GetTavrelPath: folder kind " + std::to_string(folderKind) +
                                   ", the host expects " + std::to_string(expected));
    return 0;
  }
  if (!buffer || host_.Environment().PluginFolder().empty()) return 0;
  std::vector<uint8_t> path = EncodeHostText(host_.Environment().PluginFolder(), version);
  if (path.size() > kPathBufferSize) return 0;
  std::memcpy(buffer, path.data(), path.size());
  return 1;
}

int32_t HostCallHandler::AutoNumberedName(int32_t textBlock, char16_t* buffer, int32_t size) {
  Document* document = Current();
  if (!document || !buffer || size <= 0) return 0;
  if (host_.HostVersion() < kHostVersion2011) {
    host_.Misuse().ReportCallError("TX_AutoNumberedName_UTF16 called on a host before 0x11000000");
    return 0;
  }
  if (textBlock < 1 || textBlock > 0x7FFF ||
      !document->content.records.Find(RecordKey{kTextBlockTag, static_cast<int16_t>(textBlock), 0, 0})) {
    return 0;
  }
  std::u16string name =
      Utf8ToUtf16(PlainName(document->content.TextOfBlock(static_cast<int16_t>(textBlock), host_.HostVersion())));
  // A real host may use every unit it is told of; filling them all makes a
  // caller that overstates its buffer fail under the sanitizers.
  size_t units = std::min(name.size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, name.data(), units * sizeof(char16_t));
  std::fill(buffer + units, buffer + size, u'\0');
  return 1;
}

int32_t HostCallHandler::ExecuteMenuItem(int32_t command) {
  Document* document = Current();
  host_.Environment().AddMenuCommand(command);
  if (!document) return 0;
  if (command == kNoteSpacingCommand) {
    host_.Environment().AddSpacingCommand(
        SpacingCommand{document->Id(), document->currentPart, host_.Selection().Record()});
  }
  return 1;
}

}  // namespace headless

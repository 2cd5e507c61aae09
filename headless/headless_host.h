// The headless host: an in-memory stand-in for Tavrel behind its plug-in API.
// It keeps documents (score and linked parts, records, note entries), answers
// every host function as the host does, and lets tests see what was asked.
//
// There is one host per process, because the exported host functions must
// reach it. Tests start with Reset() and Install(); HostFixture in
// tests/headless/host_fixture.h does both and checks for leaks afterwards.
//
// Linking: test programs link rz_headless_exports (it brings rz_headless and,
// on Windows, the exported host functions that the TAVREL.EXE programs carry).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "headless/document_snapshot.h"
#include "headless/selection_record.h"

namespace headless {

class Document;
class FrameRegistry;
class HostCallHandler;

constexpr uint32_t kDefaultHostVersion = 0x12050000;
constexpr int32_t kNoteSpacingCommand = 12106;
// Folder kinds the host answers TX_GetTavrelPath for: 7 before 0x10000000, 15 after.
constexpr int32_t kOldPluginFolderKind = 7;
constexpr int32_t kPluginFolderKind = 15;

// One host function call: its export name, its integer arguments in order
// without the trailing interface version (pointers as their address, doubles
// truncated), and its text argument, if any, as UTF-8. Record calls
// (TX_LoadEData ...) log the tag, the address as its three numbers, the size
// (for TX_LoadEData the size asked for) and the layout version;
// TX_SetCurERegion logs start slot, measure, position, end slot, measure, position.
struct HostCall {
  std::string name;
  std::vector<int64_t> arguments;
  std::string text;
};

// A note-spacing command (menu command 12106) as the host ran it.
struct SpacingCommand {
  int16_t document = 0;
  int16_t part = 0;
  SelectionRecord selection;
};

// A note as stored by the host.
struct NoteInfo {
  int16_t displacement = 0;
  int16_t raiseLower = 0;
  int16_t id = 0;
  uint32_t flags = 0;
  uint64_t sourceTag = 0;  // what the builder was given for this note, 0 if nothing

  bool AccidentalShown() const { return (flags & 0x01000000u) != 0; }
  bool Parenthesised() const { return (flags & 0x00800000u) != 0; }
  bool TiedFromPrevious() const { return (flags & 0x20000000u) != 0; }
};

// An entry as stored by the host, with where it stands.
struct EntryInfo {
  uint32_t number = 0;
  int16_t staff = 0;
  int16_t measure = 0;
  int layer = 0;  // 1 to the host's layer count
  int index = 0;  // index in its cell (staff, measure, layer)
  int32_t position = 0;
  int32_t secondPosition = 0;
  uint32_t flags = 0;
  std::vector<NoteInfo> notes;

  bool IsNote() const { return (flags & 0x40000000u) != 0; }
  bool IsGrace() const { return (flags & 0x00800000u) != 0; }
};

// A note with a source tag and where it is now, for exporters.
struct TaggedNote {
  uint64_t sourceTag = 0;
  uint32_t entryNumber = 0;
  int16_t staff = 0;
  int16_t measure = 0;
  int layer = 0;
  int noteIndex = 0;
  NoteInfo note;
};

class HeadlessHost {
 public:
  static HeadlessHost& Instance();

  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;

  // ---- Host setup -------------------------------------------------------
  // Empty host: no documents, empty call log and error lists, 4 layers all
  // shown, no plug-in folder, window info answering (1, 200). Keeps the
  // module registration.
  void Reset(uint32_t hostVersion = kDefaultHostVersion);
  // The version the host announces; also the plug-in's (SetHostVersion) once installed.
  // Record sizes follow the version at the time the records are built.
  void SetHostVersion(uint32_t version);
  uint32_t HostVersion() const { return hostVersion_; }
  // Makes the host findable by the plug-in's binding (Linux: registers the export
  // table under moduleName, leaving out the named functions), sets the plug-in's
  // host version and resets the binding. On Windows leaving out functions or
  // another module name cannot be done; see CanLeaveOutFunctions.
  bool Install(const std::vector<std::string>& missingFunctions = {}, const char* moduleName = "TAVREL.EXE");
  // Removes the registration (Linux) and resets the plug-in's binding.
  void Uninstall();
  // Whether Install can leave out functions and use another module name (not on Windows).
  static bool CanLeaveOutFunctions();

  // ---- Documents and parts ---------------------------------------------
  // A new empty document (score only, no staves or measures); it becomes current. Ids 1, 2, ...
  int16_t NewDocument();
  bool SetCurrentDocument(int16_t document);
  int16_t CurrentDocument() const { return currentDocument_; }  // 0 when there is none
  // The current part of the current document (0: the score); -1 without a document.
  int16_t CurrentPart() const;
  bool SetCurrentPart(int16_t part);
  // Part ids of the current document: 0 (the score) first, then the linked parts.
  std::vector<int16_t> Parts() const;
  // Staff numbers of a part in slot order (slot 1 first), from its system staves of system 0.
  std::vector<int16_t> SlotOrder(int16_t part) const;
  // The staff at a 1-based slot of a part, 0 when absent.
  int16_t StaffAtSlot(int16_t part, int slot) const;
  // The 1-based slot of a staff in a part, 0 when absent.
  int SlotOfStaff(int16_t part, int16_t staff) const;

  // ---- Call log -----------------------------------------------------------
  const std::vector<HostCall>& CallLog() const { return callLog_; }
  void ClearCallLog() { callLog_.clear(); }
  int CountCalls(const char* name) const;
  // Logging can be turned off for long runs (rzacc); on after Reset.
  void SetCallLogging(bool enabled) { callLogging_ = enabled; }
  bool IsCallLogging() const { return callLogging_; }
  // The calls of one function, in order.
  std::vector<HostCall> CallsNamed(const char* name) const;

  // ---- Frames, metrics and misuse ---------------------------------------
  // Frames handed out by TX_LoadTGF and not yet freed.
  int OutstandingFrames() const;
  // Entry metrics filled by TX_GetEntryMetrics* and not yet freed.
  int OutstandingEntryMetrics() const;
  // Misuse of frames and metrics: freeing an unknown frame or one freed
  // before, saving a freed or unknown frame, a damaged frame header, freeing
  // unknown metrics, loading metrics into a buffer still holding some.
  const std::vector<std::string>& FrameErrors() const { return frameErrors_; }
  // Other misuse of the API: a wrong layout version for a record, a wrong
  // interface version, a wrong folder kind, ending an edit that is not open.
  const std::vector<std::string>& CallErrors() const { return callErrors_; }
  // For tests that provoke misuse on purpose.
  void ClearErrors();
  // Frames of this cell get a read-only mark and are refused by TX_SaveTGF.
  void SetCellReadOnly(int16_t staff, int16_t measure, int layer, bool readOnly);

  // ---- Edits and undo ------------------------------------------------------
  // Names of the committed outermost edits of the current document, oldest first.
  std::vector<std::string> UndoHistory() const;
  // Restores the current document to before its last committed edit and drops it from the history.
  bool Undo();
  // Edits started and not yet ended or cancelled.
  int OpenEdits() const { return static_cast<int>(openEdits_.size()); }
  // Names of the cancelled edits (any level), in order.
  const std::vector<std::string>& CancelledEdits() const { return cancelledEdits_; }
  // Names of every edit ended (any level), in order.
  const std::vector<std::string>& EndedEdits() const { return endedEdits_; }
  // The whole content of the current document (records, entries, parts, layout, tags).
  DocumentSnapshot Snapshot() const;
  // Puts a snapshot back into the current document (not into another one).
  bool Restore(const DocumentSnapshot& snapshot);

  // ---- Selection (of the current part) ----------------------------------
  // Selects from startStaff to endStaff (staff numbers, converted to slots of
  // the current part) and from (startMeasure, startPosition) to (endMeasure, endPosition).
  bool SetSelection(int16_t startStaff, int16_t startMeasure, int32_t startPosition, int16_t endStaff,
                    int16_t endMeasure, int32_t endPosition);
  // Every slot, measure 1 position 0 to the last measure at position 0x7FFFFFFF.
  bool SelectAll();
  void ClearSelection();
  SelectionRecord Selection() const;
  void SetSelectionRecord(const SelectionRecord& selection);
  // The slot-list value that the host puts in frames and selections.
  static uint16_t SlotListValue();

  // ---- Layers ------------------------------------------------------------
  void SetMaxLayers(int count);                    // TX_GetMaxLayers; default 4
  void SetLayerShown(int layerIndex, bool shown);  // 0-based; default all shown
  int MaxLayers() const { return maxLayers_; }
  bool LayerShown(int layerIndex) const;

  // ---- Plug-in folder, window, commands ---------------------------------
  // What TX_GetTavrelPath answers (UTF-8 here; 8-bit text below host 0x11000000, UTF-16 from it on).
  void SetPluginFolder(const std::string& path);
  const std::string& PluginFolder() const { return pluginFolder_; }
  // The 16-bit fields at 528 and 530 of the window information; answer false makes the call fail.
  void SetWindowInfo(int16_t field528, int16_t field530, bool answer = true);
  const std::vector<SpacingCommand>& SpacingCommands() const { return spacingCommands_; }
  // Every TX_ExecuteMenuItem command, in order.
  const std::vector<int32_t>& MenuCommands() const { return menuCommands_; }

  // ---- Queries for tests -------------------------------------------------
  int EntryCount(int16_t staff, int16_t measure, int layer) const;
  bool EntryAt(int16_t staff, int16_t measure, int layer, int index, EntryInfo* entry) const;
  bool FindEntry(uint32_t entryNumber, EntryInfo* entry) const;
  // Every note that carries a source tag, in staff, measure, layer, entry, note order.
  std::vector<TaggedNote> NotesWithTags() const;
  // The same notes handed to the visitor one by one, without a list.
  void VisitNotesWithTags(const std::function<void(const TaggedNote&)>& visit) const;
  // A stored record of the current document (part-owned records: of the current part).
  // For "other" records the address is (number, inci); for detail records (first, second, inci).
  bool ReadRecord(uint32_t tag, int16_t first, int16_t second, int16_t third, std::vector<uint8_t>* bytes) const;
  bool WriteRecord(uint32_t tag, int16_t first, int16_t second, int16_t third, const std::vector<uint8_t>& bytes);
  int RecordCount(uint32_t tag) const;

  // ---- For the builder, importers and the host functions -----------------
  Document* CurrentDocumentData();
  const Document* CurrentDocumentData() const;
  Document* DocumentData(int16_t document);
  HostCallHandler& Calls() { return *calls_; }
  void LogCall(HostCall call);
  void ReportFrameError(const std::string& text);
  void ReportCallError(const std::string& text);

 private:
  friend class HostCallHandler;
  struct OpenEdit {
    int16_t document;
    std::string name;
    DocumentSnapshot before;
  };

  // A part's slot order and its inverse, kept while the part's records stay
  // unchanged: the plug-in converts between slots and staves once a cell.
  struct SlotIndex {
    uint64_t stamp = 0;
    std::vector<int16_t> staves;              // slot 1 first
    std::unordered_map<int16_t, int> slotOf;  // staff -> 1-based slot
  };

  HeadlessHost();
  ~HeadlessHost();

  const SlotIndex& SlotIndexOf(int16_t part) const;

  uint32_t hostVersion_ = kDefaultHostVersion;
  bool installed_ = false;
  std::string moduleName_;
  std::map<int16_t, std::unique_ptr<Document>> documents_;
  int16_t currentDocument_ = 0;
  int16_t nextDocument_ = 1;
  std::vector<HostCall> callLog_;
  bool callLogging_ = true;
  std::vector<std::string> frameErrors_;
  std::vector<std::string> callErrors_;
  std::unique_ptr<FrameRegistry> frames_;
  std::unique_ptr<HostCallHandler> calls_;
  std::vector<OpenEdit> openEdits_;
  std::vector<std::string> cancelledEdits_;
  std::vector<std::string> endedEdits_;
  int maxLayers_ = 4;
  std::vector<bool> layerShown_;
  std::string pluginFolder_;
  int16_t windowField528_ = 1;
  int16_t windowField530_ = 200;
  bool windowInfoAnswers_ = true;
  std::vector<SpacingCommand> spacingCommands_;
  std::vector<int32_t> menuCommands_;
  std::vector<std::string> missingFunctions_;
  mutable SlotIndex slotIndex_;
};

}  // namespace headless

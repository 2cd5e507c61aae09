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
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "headless/document_queries.h"
#include "headless/document_snapshot.h"
#include "headless/edit_history.h"
#include "headless/frame_registry.h"
#include "headless/host_call_log.h"
#include "headless/host_environment.h"
#include "headless/host_selection.h"
#include "headless/layer_settings.h"
#include "headless/misuse_log.h"

namespace headless {

class Document;
class HostCallHandler;

constexpr uint32_t kDefaultHostVersion = 0x12050000;

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

  // Frames of this cell get a read-only mark and are refused by TX_SaveTGF.
  void SetCellReadOnly(int16_t staff, int16_t measure, int layer, bool readOnly);
  // The whole content of the current document (records, entries, parts, layout, tags).
  DocumentSnapshot Snapshot() const;
  // Puts a snapshot back into the current document (not into another one).
  bool Restore(const DocumentSnapshot& snapshot);

  // ---- The host's parts ----------------------------------------------------
  // Every call the plug-in made.
  HostCallLog& CallLog() { return callLog_; }
  const HostCallLog& CallLog() const { return callLog_; }
  // Misuse of the API that the host noticed.
  MisuseLog& Misuse() { return misuse_; }
  const MisuseLog& Misuse() const { return misuse_; }
  // The note-entry frames and entry metrics handed out and not yet freed.
  FrameRegistry& Frames() { return frames_; }
  const FrameRegistry& Frames() const { return frames_; }
  // Open edits and the undo history of the current document.
  EditHistory& Edits() { return edits_; }
  const EditHistory& Edits() const { return edits_; }
  // The selection of the current part.
  HostSelection& Selection() { return selection_; }
  const HostSelection& Selection() const { return selection_; }
  LayerSettings& Layers() { return layers_; }
  const LayerSettings& Layers() const { return layers_; }
  // The plug-in folder, the window information, the menu commands run.
  HostEnvironment& Environment() { return environment_; }
  const HostEnvironment& Environment() const { return environment_; }
  // Entries, notes and records of the current document, read back.
  DocumentQueries& Queries() { return queries_; }
  const DocumentQueries& Queries() const { return queries_; }
  // The host's side of every API function, for the exported functions.
  HostCallHandler& Handler() { return *handler_; }

  // ---- For the builder, importers and the host functions -----------------
  Document* CurrentDocumentData();
  const Document* CurrentDocumentData() const;
  Document* DocumentData(int16_t document);

 private:
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
  std::vector<std::string> missingFunctions_;
  mutable SlotIndex slotIndex_;
  HostCallLog callLog_;
  MisuseLog misuse_;
  FrameRegistry frames_;
  EditHistory edits_;
  HostSelection selection_;
  LayerSettings layers_;
  HostEnvironment environment_;
  DocumentQueries queries_;
  std::unique_ptr<HostCallHandler> handler_;
};

}  // namespace headless

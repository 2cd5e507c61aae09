// Altered notes tied over a system break lose their accidental on the new
// line. The scan looks for them at the start of every system of the parts
// that the tie mode selects, can check that score and parts break alike, and
// reports them.
#pragma once

#include <cstdint>

#include "analysis/tc_undo_block.h"

class TCAnalysisRunContext;
class TCMusicRegion;
class TCPart;
class TCParts;
class TCSystemTieOccasions;

// System tie modes.
enum SystemTieMode : int32_t {
  kTieScanNone = 0,
  kTieScanCurrentPart = 1,
  kTieScanAll = 2,
  kTieScanScoreOnly = 3,
  kTieScanPartsOnly = 4,
  kTieScanUnlinkedDocuments = 5,
  kTieScanMatchedOnly = 6,
  kTieScanUncheckConflicts = 7,
};

// Runs in an edit of its own that is always cancelled, so that nothing the
// scan causes in the document (a layout update) stays.
class TCSystemTieScanPartHandler : public __TCUndoBlockHandler {
 public:
  static constexpr const char* kEditName = "scan part for ties";

  // None of them is owned.
  TCSystemTieScanPartHandler(TCParts* parts, const TCMusicRegion* region, TCSystemTieOccasions* occasions,
                             bool* comparison, int32_t mode)
      : parts_(parts), region_(region), occasions_(occasions), comparison_(comparison), mode_(mode) {}

  const char* ClassName() const override { return "TCSystemTieScanPartHandler"; }

  // Scans the parts that the mode selects; always false.
  bool Execute() override;
  // Appends the occasions found at the system starts of one part.
  void ScanPartForTies(TCPart* part);

 private:
  bool IsPartSelected(const TCPart* part) const;
  void ScanSystemStart(TCPart* part, int32_t measure);

  TCParts* parts_;
  const TCMusicRegion* region_;
  TCSystemTieOccasions* occasions_;
  bool* comparison_;
  int32_t mode_;
};

// The whole scan, reporting through the run context.
void ScanSystemBreakTies(TCAnalysisRunContext& context, const TCMusicRegion* region);

// Whether the part's staff list holds the staff.
bool PartShowsStaff(TCPart* part, int32_t staff);

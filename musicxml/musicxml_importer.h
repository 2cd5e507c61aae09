// Builds a MusicXML score into the headless host's current document: one
// staff per staff of each part (a part with several staves becomes a
// multi-staff instrument named after the part), the part groups, the
// measures with their lengths and keys, the system breaks the file asks for,
// and one host entry per note, chord or rest. Like the notation program, the
// document holds every note and key at sounding pitch: the <transpose> of a
// transposing part is applied unless the score says it is written at concert
// pitch. Every host note keeps the
// <note> element it came from as its source tag.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>

#include "musicxml/import_plan.h"

namespace headless {
class ScoreBuilder;
}

namespace musicxml {

class ImportedScore;
class MusicXmlDocument;
class MusicXmlPartList;

class MusicXmlImporter {
 public:
  // The host has 16-bit measure numbers; a score with more is refused.
  static constexpr int kMaxMeasures = 32767;
  // As many staves as the host can number: staff numbers are 16-bit and start at kFirstStaffNumber.
  static constexpr int kMaxStaves = 32767 - headless::kFirstStaffNumber + 1;
  // A cell is one staff in one measure; the plan keeps a key for each.
  static constexpr int64_t kMaxCells = int64_t(1) << 22;
  // Warnings beyond this many are counted, not listed.
  static constexpr size_t kMaxWarnings = 50;

  explicit MusicXmlImporter(headless::ScoreBuilder* builder) : builder_(builder) {}

  // False with a message when the score holds nothing the host can take; the
  // builder's document may then be partly built.
  bool Import(MusicXmlDocument* document, ImportedScore* imported, std::string* error);

 private:
  bool ReadPlan(const MusicXmlPartList& partList, ImportedScore* imported, std::string* error);
  void CreateStaves(const MusicXmlPartList& partList, ImportedScore* imported);
  void CreateMeasures(ImportedScore* imported);
  void CreateKeys(const ImportedScore& imported);
  void CreateSystemBreaks();
  void CreateEntries(ImportedScore* imported);
  // cell: staff index, measure index and layer of the plan.
  void WarnOfRefusedEntries(const std::tuple<int, int, int>& cell, int count, ImportedScore* imported) const;
  void RecordImportFlags(ImportedScore* imported) const;
  static void LimitWarnings(ImportedScore* imported);

  headless::ScoreBuilder* builder_;
  ImportPlan plan_;
  bool concertScore_ = false;  // <concert-score/>: the file is written at sounding pitch
};

}  // namespace musicxml

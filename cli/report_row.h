// One line of the report as the plug-in's result list shows it: its five
// columns, the location texts, and where the file numbers the measures.
#pragma once

#include <cstdint>
#include <string>

class AccidentalFinding;

namespace musicxml {
class ImportedScore;
}

namespace rzacc {

struct ReportRow {
  // The result list's columns, in its order.
  std::string staff;
  std::string location;
  std::string note;
  std::string info;
  std::string accidental;

  std::string locationText;
  std::string relatedLocationText;  // empty without a related note
  std::string kind;
  bool checked = false;
  bool applied = false;
  // apply: the host applied it, but no accidental in the file can show the
  // note's alteration, so nothing was written.
  bool notWritten = false;
  bool parentheses = false;
  int measure = 0;
  std::string fileMeasure;  // the file's number of the measure
  bool hasRelated = false;
  int relatedMeasure = 0;
  std::string relatedFileMeasure;
  std::string writtenNote;   // the file's pitch where the staff transposes; empty otherwise
  int round = 1;             // apply: the round of scan and apply that found it
  uint32_t entryNumber = 0;  // the finding's note in the host
  int noteIndex = 0;
  // The <note> elements of the finding's note and of its related note, by
  // index among all <note> elements of the file; -1 for none.
  int64_t noteElement = -1;
  int64_t relatedNoteElement = -1;

  static ReportRow FromFinding(const AccidentalFinding& finding, bool checked, const musicxml::ImportedScore& score);

  // "M 12: L 1: #3"
  static std::string BuildLocationColumn(int measure, int layer, int entryIndex);
  // The pitch name's signs ("n" for none), in parentheses when asked, then " *"
  // when the accidental is to be shown.
  static std::string BuildAccidentalColumn(const std::string& pitchName, bool parentheses, bool showAccidental);
  // The kind's name as the analysis calls it ("PitchDiffSameOctave").
  static const char* KindName(int kind);
};

}  // namespace rzacc

// The courtesy accidentals that a score's engraver printed. Counted per part,
// staff and measure, with the key signature in force and the accidentals
// printed earlier in the measure on the same staff at the same step and
// octave: notes struck together are judged against the state before them and
// grace notes take no time. A printed accidental whose alteration already
// holds by that state is a courtesy one; any other printed one is required.
#pragma once

#include <set>
#include <string>
#include <vector>

#include <tinyxml2.h>

class CourtesyCensus {
 public:
  // False when the text is not a partwise MusicXML score.
  bool Read(const std::string& text);

  // The courtesy accidentals' notes: places among all <note> elements of
  // the file in document order, counted from 0.
  const std::set<int>& CourtesyNotes() const { return courtesyNotes_; }
  int RequiredCount() const { return required_; }
  // For each courtesy accidental, how many measures back lies the nearest
  // of the latest notes of its letter (on its staff in its octave, on its
  // staff, in its part, in the whole score) that is spelled otherwise: the
  // inflection a reader may still hear. -1 where every one of them is
  // spelled as the note is, or the letter has not sounded before.
  std::vector<int> CueDistances() const;
  // The score's text without the courtesy accidentals.
  std::string Stripped();

 private:
  // A pitched note as the cue distances need it; measures counted per part
  // from 0, which lines the parts up.
  struct Sounding {
    int part;
    int staff;
    int measure;
    long long onsetNumerator;
    long long onsetDenominator;
    char step;
    int octave;
    double alter;
    bool courtesy;
  };

  void CountPart(tinyxml2::XMLElement* part, int partIndex, int* ordinal);

  tinyxml2::XMLDocument document_;
  std::vector<Sounding> soundings_;
  std::set<int> courtesyNotes_;
  int required_ = 0;
};

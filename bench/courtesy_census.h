// The courtesy accidentals that a score's engraver printed. Counted per part,
// staff and measure, with the key signature in force and the accidentals
// printed earlier in the measure on the same staff at the same step and
// octave: notes struck together are judged against the state before them and
// grace notes take no time. A printed accidental whose alteration already
// holds by that state is a courtesy one; any other printed one is required.
#pragma once

#include <set>
#include <string>

#include <tinyxml2.h>

class CourtesyCensus {
 public:
  // False when the text is not a partwise MusicXML score.
  bool Read(const std::string& text);

  // The courtesy accidentals' notes: places among all <note> elements of
  // the file in document order, counted from 0.
  const std::set<int>& CourtesyNotes() const { return courtesyNotes_; }
  int RequiredCount() const { return required_; }
  // The score's text without the courtesy accidentals.
  std::string Stripped();

 private:
  void CountPart(tinyxml2::XMLElement* part, int* ordinal);

  tinyxml2::XMLDocument document_;
  std::set<int> courtesyNotes_;
  int required_ = 0;
};

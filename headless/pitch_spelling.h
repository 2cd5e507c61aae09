// The host's reckoning of a spelled note in a key: the key value, the tonic,
// the key's alteration of each letter, and from these the displacement and
// raise/lower that a note record holds.
#pragma once

#include <cstdint>

#include "headless/score_builder.h"

namespace headless {

// Bits 0-7 the signed count of sharps (positive) or flats (negative), bits 8-13 the mode.
uint16_t MakeKeyValue(int fifths, bool minor);
// The tonic as a letter index, A = 0 ... G = 6.
int TonicLetterOf(uint16_t keyValue);
// What the key does to a letter (A = 0 ... G = 6): +1, -1 or 0.
int KeyAlterationOf(uint16_t keyValue, int letter);
// Letter index of 'A'..'G', -1 for anything else.
int LetterIndex(char letter);

struct NotePlacement {
  int16_t displacement = 0;
  int16_t raiseLower = 0;
};

// Displacement from the key's tonic (0: the tonic in the octave from middle C)
// and raise/lower relative to the key; octaveValue is the general preferences
// value at offset 40, which shifts the written octave by octaveValue / 12.
bool PlaceNote(const NoteSpec& note, uint16_t keyValue, int16_t octaveValue, NotePlacement* placement);

}  // namespace headless

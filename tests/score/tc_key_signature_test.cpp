#include "score/tc_key_signature.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kA = 0, kB = 1, kC = 2, kD = 3, kE = 4, kF = 5, kG = 6;

TEST(KeySignature, ThreeSharpsMajorIsAMajor) {
  TCKeySignature key(0x0003);
  EXPECT_TRUE(key.IsLinear());
  EXPECT_FALSE(key.IsMinor());
  EXPECT_EQ(key.GetSharpCount(), 3);
  EXPECT_EQ(key.GetFlatCount(), 0);
  EXPECT_EQ(key.GetTonicLetter(), kA);
  EXPECT_TRUE(key.IsLetterSharpened(kF));
  EXPECT_TRUE(key.IsLetterSharpened(kC));
  EXPECT_TRUE(key.IsLetterSharpened(kG));
  EXPECT_FALSE(key.IsLetterSharpened(kD));
  EXPECT_FALSE(key.IsLetterFlattened(kB));
}

TEST(KeySignature, ThreeFlatsMinorIsCMinor) {
  TCKeySignature key(0x01FD);
  EXPECT_TRUE(key.IsMinor());
  EXPECT_EQ(key.GetFlatCount(), 3);
  EXPECT_EQ(key.GetSharpCount(), 0);
  EXPECT_EQ(key.GetTonicLetter(), kC);
  EXPECT_TRUE(key.IsLetterFlattened(kB));
  EXPECT_TRUE(key.IsLetterFlattened(kE));
  EXPECT_TRUE(key.IsLetterFlattened(kA));
  EXPECT_FALSE(key.IsLetterFlattened(kD));
  EXPECT_FALSE(key.IsLetterSharpened(kF));
}

TEST(KeySignature, NonStandardKeysHaveNoCountsNorAlteredLetters) {
  for (uint16_t value : {0x4000, 0x0200, 0x8003, 0x02FF}) {
    SCOPED_TRACE(value);
    TCKeySignature key(value);
    EXPECT_FALSE(key.IsLinear());
    EXPECT_EQ(key.GetSharpCount(), -1);
    EXPECT_EQ(key.GetFlatCount(), -1);
    EXPECT_EQ(key.GetTonicLetter(), -1);
    for (int32_t letter = 0; letter < 7; ++letter) {
      EXPECT_FALSE(key.IsLetterSharpened(letter));
      EXPECT_FALSE(key.IsLetterFlattened(letter));
    }
  }
}

TEST(KeySignature, CMajorAltersNothing) {
  TCKeySignature key(0x0000);
  EXPECT_EQ(key.GetTonicLetter(), kC);
  for (int32_t letter = 0; letter < 7; ++letter) {
    EXPECT_FALSE(key.IsLetterSharpened(letter));
    EXPECT_FALSE(key.IsLetterFlattened(letter));
  }
}

TEST(KeySignature, TonicsAroundTheCircleOfFifths) {
  // Major tonics from 7 flats to 7 sharps: Cb Gb Db Ab Eb Bb F C G D A E B F# C#.
  const int32_t majorTonics[15] = {kC, kG, kD, kA, kE, kB, kF, kC, kG, kD, kA, kE, kB, kF, kC};
  // Minor: Ab Eb Bb F C G D A E B F# C# G# D# A#.
  const int32_t minorTonics[15] = {kA, kE, kB, kF, kC, kG, kD, kA, kE, kB, kF, kC, kG, kD, kA};
  for (int32_t fifths = -7; fifths <= 7; ++fifths) {
    SCOPED_TRACE(fifths);
    uint16_t count = static_cast<uint8_t>(static_cast<int8_t>(fifths));
    EXPECT_EQ(TCKeySignature(count).GetTonicLetter(), majorTonics[fifths + 7]);
    EXPECT_EQ(TCKeySignature(static_cast<uint16_t>(0x0100 | count)).GetTonicLetter(), minorTonics[fifths + 7]);
  }
  EXPECT_EQ(TCKeySignature(0x01FF).GetTonicLetter(), kD);  // one flat, minor
}

TEST(KeySignature, LettersOutsideTheRangeAreNeverAltered) {
  TCKeySignature sharps(0x0007);
  TCKeySignature flats(0x00F9);
  EXPECT_FALSE(sharps.IsLetterSharpened(-1));
  EXPECT_FALSE(sharps.IsLetterSharpened(7));
  EXPECT_FALSE(flats.IsLetterFlattened(7));
  for (int32_t letter = 0; letter < 7; ++letter) {
    EXPECT_TRUE(sharps.IsLetterSharpened(letter));
    EXPECT_TRUE(flats.IsLetterFlattened(letter));
  }
}

}  // namespace

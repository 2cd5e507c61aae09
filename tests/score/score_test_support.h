// Shared helpers of the score data tests: a fixture on the headless host that
// also insists on correct layout and interface versions in every call.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "headless/headless_host.h"
#include "headless/score_builder.h"
#include "tests/headless/host_fixture.h"

class ScoreDataTest : public headless::HostFixture {
 protected:
  void TearDown() override {
    for (const std::string& error : Host().Misuse().CallErrors()) ADD_FAILURE() << "host call misuse: " << error;
    headless::HostFixture::TearDown();
  }

  std::vector<uint8_t> StoredRecord(uint32_t tag, int16_t first, int16_t second = 0, int16_t third = 0) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(Host().Queries().ReadRecord(tag, first, second, third, &bytes))
        << "no stored record " << std::hex << tag << " at " << first << "," << second << "," << third;
    return bytes;
  }

  // Gives every byte of a stored record a distinct nonzero value, so that a
  // byte the plug-in loses or zeroes shows up in comparisons.
  void FillWithPattern(uint32_t tag, int16_t first, int16_t second = 0, int16_t third = 0) {
    std::vector<uint8_t> bytes = StoredRecord(tag, first, second, third);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(0x41 + i * 7);
    ASSERT_TRUE(Host().Queries().WriteRecord(tag, first, second, third, bytes));
  }

  // The indices of the bytes in which two records differ.
  static std::vector<size_t> DifferingBytes(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
    std::vector<size_t> indices;
    size_t size = before.size() > after.size() ? before.size() : after.size();
    for (size_t i = 0; i < size; ++i) {
      if (i >= before.size() || i >= after.size() || before[i] != after[i]) indices.push_back(i);
    }
    return indices;
  }

  int CountCalls(const char* name) const { return Host().CallLog().Count(name); }
};

// A GoogleTest fixture for tests that run against the headless host: a fresh
// host installed before each test; at the end every frame and every entry
// metrics record must have been freed and no frame misuse reported.
//
//   class MyTest : public headless::HostFixture {};
//   TEST_F(MyTest, Something) { headless::ScoreBuilder builder; ... }
//
// A test that needs another host version or a partial host calls
// ReinstallHost(version, {"TX_GetMaxLayers"}) first; on Windows a partial
// host cannot be made, so such a test starts with SkipUnlessPartialHosts().
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/headless_host.h"

namespace headless {

class HostFixture : public ::testing::Test {
 protected:
  void SetUp() override { ReinstallHost(kDefaultHostVersion); }

  void TearDown() override {
    HeadlessHost& host = Host();
    EXPECT_EQ(host.Frames().LiveFrames(), 0) << "note-entry frames were not freed";
    EXPECT_EQ(host.Frames().LiveMetrics(), 0) << "entry metrics were not freed";
    for (const std::string& error : host.Misuse().FrameErrors()) ADD_FAILURE() << "frame misuse: " << error;
    host.Reset();
  }

  // Resets the host to an empty one of this version and installs it.
  void ReinstallHost(uint32_t hostVersion, const std::vector<std::string>& missingFunctions = {},
                     const char* moduleName = "TAVREL.EXE") {
    HeadlessHost& host = Host();
    host.Reset(hostVersion);
    host.Install(missingFunctions, moduleName);
  }

  static HeadlessHost& Host() { return HeadlessHost::Instance(); }
};

// Skips the current test on hosts that cannot leave out functions (Windows).
#define SkipUnlessPartialHosts()                                                 \
  do {                                                                           \
    if (!::headless::HeadlessHost::CanLeaveOutFunctions())                       \
      GTEST_SKIP() << "a host without some functions cannot be made on Windows"; \
  } while (0)

}  // namespace headless

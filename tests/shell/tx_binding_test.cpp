// How the wrappers bind to the host module. On Linux the test registers small
// host tables of its own; Windows cannot take exports away from a module, so
// these cases run in the native build only.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <string>
#include <vector>

#include "platform/module_registry.h"
#include "shell/tx_api.h"

namespace {

std::vector<std::string> calls;

int32_t TX_HOSTCALL CountLayers(uint32_t api) {
  calls.push_back("TX_GetMaxLayers " + std::to_string(api));
  return 7;
}
int32_t TX_HOSTCALL CurrentPart(uint32_t) {
  calls.push_back("TX_GetCurrentPartID");
  return 3;
}
int32_t TX_HOSTCALL StartEdit(const char* name, uint32_t) {
  calls.push_back(std::string("start ") + name);
  return 1;
}
int32_t TX_HOSTCALL EndEdit(uint32_t) {
  calls.push_back("end");
  return 1;
}
int32_t TX_HOSTCALL CancelEdit(uint32_t) {
  calls.push_back("cancel");
  return 1;
}
int32_t TX_HOSTCALL WideResult(uint32_t) { return 0x12340001; }

template <typename Function>
PlatformExport Export(const char* name, Function function) {
  return {name, reinterpret_cast<void (*)()>(reinterpret_cast<void*>(function))};
}

const PlatformExport kFullHost[] = {
    Export("TX_GetMaxLayers", &CountLayers),    Export("TX_GetCurrentPartID", &CurrentPart),
    Export("TX_StartTavrelEdit", &StartEdit),   Export("TX_EndTavrelEdit", &EndEdit),
    Export("TX_CancelTavrelEdit", &CancelEdit), Export("TX_GetCurrentOrbeltDocument", &WideResult),
};
const PlatformExport kDemoHost[] = {Export("TX_GetMaxLayers", &CountLayers)};

class Binding : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformUnregisterModule("TAVREL.EXE");
    PlatformUnregisterModule("TAVDEMO.EXE");
    TXResetBinding();
    calls.clear();
  }
  void TearDown() override {
    PlatformUnregisterModule("TAVREL.EXE");
    PlatformUnregisterModule("TAVDEMO.EXE");
    TXResetBinding();
  }
};

TEST_F(Binding, EachFunctionIsLookedUpOnce) {
  PlatformRegisterModule("TAVREL.EXE", kFullHost, std::size(kFullHost));
  long before = PlatformLookupCount();
  EXPECT_EQ(TX_GetMaxLayers(), 7);
  EXPECT_EQ(TX_GetMaxLayers(), 7);
  EXPECT_EQ(TX_GetMaxLayers(), 7);
  EXPECT_EQ(PlatformLookupCount() - before, 1);
  EXPECT_EQ(calls.front(), "TX_GetMaxLayers " + std::to_string(0x12050000))
      << "every call carries the interface version";

  // A missing function is remembered as missing, too.
  EXPECT_EQ(TX_SlotToInst(1, 0), 0);
  EXPECT_EQ(TX_SlotToInst(1, 0), 0);
  EXPECT_EQ(PlatformLookupCount() - before, 2);
}

TEST_F(Binding, TheModuleIsNotSearchedAgain) {
  EXPECT_EQ(TX_GetMaxLayers(), 0) << "no host at all";
  PlatformRegisterModule("TAVREL.EXE", kFullHost, std::size(kFullHost));
  EXPECT_EQ(TX_GetMaxLayers(), 0) << "the missing module was remembered";
  EXPECT_TRUE(calls.empty());
}

TEST_F(Binding, UnboundFunctionsAnswerZeroOrMinusOne) {
  PlatformRegisterModule("TAVDEMO.EXE", kDemoHost, std::size(kDemoHost));
  EXPECT_EQ(TX_GetMaxLayers(), 7) << "the demo edition is found when the full one is absent";
  EXPECT_EQ(TX_GetCurrentPartID(), -1);
  EXPECT_EQ(TX_LoadTGF(0, 1, 1, 0, 1), nullptr);
  int32_t size = 4;
  char buffer[4];
  TXAddress address{};
  EXPECT_EQ(TX_LoadEData(0x534F4D53, &address, buffer, &size, 0x12000000), 0);
  EXPECT_FALSE(TXIsBound(TXFunction::TX_SaveTGF));
  EXPECT_EQ(calls.size(), 1u);
}

TEST_F(Binding, ResultsAreSixteenBits) {
  PlatformRegisterModule("TAVREL.EXE", kFullHost, std::size(kFullHost));
  EXPECT_EQ(TX_GetCurrentOrbeltDocument(), 1);
  EXPECT_EQ(TX_GetCurrentPartID(), 3);
}

TEST_F(Binding, EditNestingKeepsEndAndCancelBalanced) {
  PlatformRegisterModule("TAVREL.EXE", kFullHost, std::size(kFullHost));
  EXPECT_EQ(TX_EndTavrelEdit(), 1) << "nothing open: End answers 1 without calling";
  EXPECT_EQ(TX_CancelTavrelEdit(), 0);
  EXPECT_TRUE(calls.empty());

  TX_StartTavrelEdit("Accidentals");
  TX_StartTavrelEdit("scan part for ties");
  EXPECT_EQ(TXEditNesting(), 2);
  TX_CancelTavrelEdit();
  TX_EndTavrelEdit();
  TX_EndTavrelEdit();
  EXPECT_EQ(TXEditNesting(), 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"start Accidentals", "start scan part for ties", "cancel", "end"}));

  // Without the host's start function the counter still counts the start, so
  // the matching cancel reaches the host.
  EXPECT_EQ(TX_StartTavrelEdit_UTF16(u"view"), 0);
  EXPECT_EQ(TXEditNesting(), 1);
  EXPECT_EQ(TX_CancelTavrelEdit(), 1);
  EXPECT_EQ(TXEditNesting(), 0);
  EXPECT_EQ(calls.back(), "cancel");
}

}  // namespace

#endif

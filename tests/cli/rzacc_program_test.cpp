// The rzacc program itself, as a script runs it: its exit status and where
// its output goes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/cli/cli_test_support.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

using musicxml_test::ReadFile;
using musicxml_test::TempFolder;

int RunProgram(const std::string& arguments, const TempFolder& folder) {
  std::string command = std::string("\"") + RZACC_PROGRAM + "\" " + arguments + " >\"" + folder.File("out.txt") +
                        "\" 2>\"" + folder.File("err.txt") + "\"";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RzaccProgramTest, ExitStatusesAndStreamsAreWhatScriptsExpect) {
  ASSERT_FALSE(cli_test::ExamplesFolder().empty()) << "RZ_SOURCE_DIR is not set";
  TempFolder folder;
  std::string example = "\"" + cli_test::Example("key_change.musicxml") + "\"";
  EXPECT_EQ(RunProgram("--version", folder), 0);
  EXPECT_EQ(ReadFile(folder.File("out.txt")).rfind("rzacc ", 0), 0u);
  EXPECT_EQ(RunProgram("scan " + example, folder), 0);
  EXPECT_EQ(ReadFile(folder.File("out.txt")), ReadFile(cli_test::Example("key_change.expected.txt")));
  EXPECT_EQ(ReadFile(folder.File("err.txt")), "");
  EXPECT_EQ(RunProgram("scan " + example + " --check", folder), 1);
  EXPECT_EQ(RunProgram("scan " + example + " --frobnicate", folder), 2);
  EXPECT_EQ(ReadFile(folder.File("out.txt")), "");
  EXPECT_EQ(ReadFile(folder.File("err.txt")), "rzacc: unknown option '--frobnicate' (see rzacc --help)\n");
  EXPECT_EQ(RunProgram("", folder), 2);
}

}  // namespace

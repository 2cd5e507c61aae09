#include "cli/rzacc_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using rzacc::Command;
using rzacc::CommandLine;
using rzacc::NumberRange;
using rzacc::ReportFormat;
using rzacc::RzaccOptions;

bool Parse(const std::vector<std::string>& arguments, RzaccOptions* options, std::string* error) {
  return CommandLine::Parse(arguments, options, error);
}

TEST(RzaccOptionsTest, ScanAndApplyTakeTheirOptionsInAnyOrder) {
  RzaccOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"scan", "score.musicxml"}, &options, &error)) << error;
  EXPECT_EQ(options.command, Command::Scan);
  EXPECT_EQ(options.score, "score.musicxml");
  EXPECT_FALSE(options.measures.given);
  EXPECT_EQ(options.layerMask, 0xFu);
  EXPECT_EQ(options.format, ReportFormat::Text);

  ASSERT_TRUE(Parse({"--format=json", "scan", "--measures", "3-7", "in.mxl", "--staves=2", "--layers", "31",
                     "--profiles", "p.xml", "--profile=Strict Rules", "--check"},
                    &options, &error))
      << error;
  EXPECT_EQ(options.format, ReportFormat::Json);
  EXPECT_EQ(options.score, "in.mxl");
  EXPECT_TRUE(options.measures.given);
  EXPECT_EQ(options.measures.first, 3);
  EXPECT_EQ(options.measures.last, 7);
  EXPECT_EQ(options.staves.first, 2);
  EXPECT_EQ(options.staves.last, 2);
  EXPECT_EQ(options.layerMask, 0x5u);
  EXPECT_EQ(options.profilesFile, "p.xml");
  EXPECT_EQ(options.profileName, "Strict Rules");
  EXPECT_TRUE(options.check);

  ASSERT_TRUE(Parse({"apply", "in.musicxml", "-o", "out.musicxml", "--all", "--format", "csv"}, &options, &error));
  EXPECT_EQ(options.command, Command::Apply);
  EXPECT_EQ(options.output, "out.musicxml");
  EXPECT_TRUE(options.all);
  EXPECT_EQ(options.format, ReportFormat::Csv);

  ASSERT_TRUE(Parse({"apply", "in.musicxml", "--once", "--brackets", "--color=#00A0FF", "-o", "out.musicxml"}, &options,
                    &error))
      << error;
  EXPECT_TRUE(options.once);
  EXPECT_TRUE(options.brackets);
  EXPECT_EQ(options.color, "#00A0FF");
  EXPECT_FALSE(options.all);

  ASSERT_TRUE(Parse({"clean", "out.musicxml", "-o", "clean.musicxml"}, &options, &error)) << error;
  EXPECT_EQ(options.command, Command::Clean);
  EXPECT_EQ(options.score, "out.musicxml");
  EXPECT_EQ(options.output, "clean.musicxml");

  ASSERT_TRUE(Parse({"apply", "in.musicxml", "--preset=Engraver", "-o", "out.musicxml"}, &options, &error)) << error;
  EXPECT_EQ(options.presetName, "Engraver");
  ASSERT_TRUE(Parse({"presets"}, &options, &error)) << error;
  EXPECT_EQ(options.command, Command::Presets);

  ASSERT_TRUE(Parse({"scan", "a.xml", "--help"}, &options, &error));
  EXPECT_EQ(options.command, Command::Help);
  ASSERT_TRUE(Parse({"--version"}, &options, &error));
  EXPECT_EQ(options.command, Command::Version);
}

TEST(RzaccOptionsTest, EveryMistakeGetsOneMessageThatNamesIt) {
  struct Case {
    std::vector<std::string> arguments;
    const char* expected;
  };
  const Case cases[] = {
      {{}, "no command given"},
      {{"check", "a.xml"}, "unknown command 'check'"},
      {{"scan"}, "no score given"},
      {{"scan", "a.xml", "b.xml"}, "one score at a time, not 'b.xml'"},
      {{"scan", "a.xml", "--colour"}, "unknown option '--colour'"},
      {{"scan", "a.xml", "-x"}, "unknown option '-x'"},
      {{"scan", "a.xml", "--measures"}, "option --measures needs a value"},
      {{"scan", "a.xml", "--measures="}, "option --measures needs a value"},
      {{"scan", "a.xml", "--measures", "5-2"}, "not '5-2'"},
      {{"scan", "a.xml", "--measures", "0-2"}, "not '0-2'"},
      {{"scan", "a.xml", "--staves", "x"}, "option --staves wants A-B"},
      {{"scan", "a.xml", "--layers", "15"}, "not '15'"},
      {{"scan", "a.xml", "--layers", "11"}, "not '11'"},
      {{"scan", "a.xml", "--format", "xml"}, "wants text, json or csv, not 'xml'"},
      {{"scan", "a.xml", "--check=yes"}, "--check takes no value"},
      {{"scan", "a.xml", "-o", "b.xml"}, "-o belongs to apply"},
      {{"scan", "a.xml", "--all"}, "--all belongs to apply"},
      {{"apply", "a.xml"}, "apply needs -o OUT"},
      {{"clean", "a.xml"}, "clean needs -o OUT"},
      {{"scan", "a.xml", "--once"}, "--once belongs to apply"},
      {{"scan", "a.xml", "--brackets"}, "--brackets belongs to apply"},
      {{"apply", "a.xml", "-o", "b.xml", "--color", "red"}, "--color wants a colour such as '#FF0000', not 'red'"},
      {{"apply", "a.xml", "-o", "b.xml", "--color"}, "option --color needs a value"},
      {{"clean", "a.xml", "-o", "b.xml", "--color=#FFFFFF"}, "--color belongs to apply; clean only takes out"},
      {{"clean", "a.xml", "-o", "b.xml", "--check"}, "--check belongs to scan and apply"},
      {{"apply", "a.xml", "-o", "b.xml", "--once=1"}, "--once takes no value"},
      {{"scan", "a.xml", "--profile", "Mine"}, "--profile needs --profiles FILE"},
      {{"scan", "a.xml", "--preset", "Sparing", "--profiles", "p.xml"}, "--preset and --profiles both choose"},
      {{"scan", "a.xml", "--profile", "Mine", "--preset=Sparing"}, "--preset and --profile both choose"},
      {{"scan", "a.xml", "--preset"}, "option --preset needs a value"},
      {{"clean", "a.xml", "-o", "b.xml", "--preset", "Sparing"}, "--preset belongs to scan and apply"},
      {{"presets", "a.xml"}, "presets takes no score and no options"},
      {{"presets", "--check"}, "presets takes no score and no options"},
  };
  for (const Case& item : cases) {
    RzaccOptions options;
    std::string error;
    EXPECT_FALSE(Parse(item.arguments, &options, &error)) << item.expected;
    EXPECT_NE(error.find(item.expected), std::string::npos) << "got: " << error;
  }
}

TEST(RzaccOptionsTest, RangesAndLayerDigits) {
  NumberRange range;
  EXPECT_TRUE(CommandLine::ParseRange("12", &range));
  EXPECT_EQ(range.first, 12);
  EXPECT_EQ(range.last, 12);
  EXPECT_TRUE(CommandLine::ParseRange("1-1000000", &range));
  EXPECT_EQ(range.last, 1000000);
  for (const char* bad : {"", "-", "3-", "-3", "1-2-3", "a-b", "2 - 3", "99999999", "1-99999999"}) {
    EXPECT_FALSE(CommandLine::ParseRange(bad, &range)) << bad;
  }
  uint32_t mask = 0;
  EXPECT_TRUE(CommandLine::ParseLayers("4321", &mask));
  EXPECT_EQ(mask, 0xFu);
  EXPECT_TRUE(CommandLine::ParseLayers("2", &mask));
  EXPECT_EQ(mask, 0x2u);
  for (const char* bad : {"", "0", "5", "1,2", "22"}) EXPECT_FALSE(CommandLine::ParseLayers(bad, &mask)) << bad;
}

}  // namespace

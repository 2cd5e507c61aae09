// Message boxes as the user sees and answers them.
#include "ui/tc_ui.h"

#include "framework/tc_string.h"
#include "tests/ui/ui_test_support.h"

namespace {

using ui_test::BoxIcon;
using ui_test::MessageBoxAnswers;

TEST(TCUITest, BoxesShowTheirTextTitleAndIconAndFallBackToDefaultTitles) {
  TCUI ui(nullptr);
  MessageBoxAnswers answers;
  ui.AlertError("Disk is full.", "Can't Save");
  ui.AlertError("Something failed.", "");
  ui.AlertInfo("Nothing to do.", nullptr);
  TCString text("Wide text \xE9");
  TCString title;
  ui.AlertInfo(&text, &title);
  ui.AskYesNo("Go on?", "");

  const auto& boxes = answers.Boxes();
  ASSERT_EQ(boxes.size(), 5u);
  EXPECT_EQ(boxes[0].title, "Can't Save");
  EXPECT_EQ(boxes[0].text, "Disk is full.");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
  EXPECT_EQ(boxes[1].title, "Error");
  EXPECT_EQ(boxes[2].title, "Information");
  EXPECT_EQ(boxes[2].icon, BoxIcon::Information);
  EXPECT_EQ(boxes[3].title, "Information");
  EXPECT_EQ(boxes[3].text, "Wide text \xC3\xA9");
  EXPECT_EQ(boxes[4].title, "Yes/No?");
  EXPECT_EQ(boxes[4].icon, BoxIcon::None);
  for (const auto& box : boxes) EXPECT_FALSE(box.idleWhileShown) << box.title;
  EXPECT_TRUE(TCUI::IsMessageBoxIdle());
}

TEST(TCUITest, AskYesNoAnswersTwoForYesThreeForNoAndFourOtherwise) {
  TCUI ui(nullptr);
  MessageBoxAnswers answers;
  answers.Answer(IDYES);
  EXPECT_EQ(ui.AskYesNo("Apply?", "Question"), TCUI::kAnswerYes);
  answers.Answer(IDNO);
  EXPECT_EQ(ui.AskYesNo("Apply?", "Question"), TCUI::kAnswerNo);
  answers.Answer(IDCANCEL);
  EXPECT_EQ(ui.AskYesNo("Apply?", "Question"), TCUI::kAnswerOther);
  EXPECT_EQ(answers.Boxes().size(), 3u);
}

TEST(TCUITest, NullTextShowsNothing) {
  TCUI ui(nullptr);
  MessageBoxAnswers answers;
  EXPECT_EQ(ui.AskYesNo(static_cast<const char*>(nullptr), "Title"), TCUI::kAnswerOther);
  ui.AlertError(static_cast<const TCString*>(nullptr), nullptr);
  ui.AlertInfo(static_cast<const char*>(nullptr), nullptr);
  EXPECT_TRUE(answers.Boxes().empty());
}

}  // namespace

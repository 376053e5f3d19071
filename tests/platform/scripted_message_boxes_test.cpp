#include "platform/headless/scripted_message_boxes.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(ScriptedMessageBoxesTest, ExpectedBoxesGetTheirScriptedAnswersInOrder) {
  ScriptedMessageBoxes boxes;
  boxes.Expect("Delete all occurrences?", MbResult::No);
  boxes.Expect("ReadMonth giving up");
  EXPECT_EQ(boxes.Show("Delete all occurrences?", MbButtons::YesNo, "VeskCal"), MbResult::No);
  EXPECT_EQ(boxes.Show("ReadMonth giving up", MbButtons::Ok, "Other"), MbResult::Ok);
  EXPECT_TRUE(boxes.unexpected().empty());
  EXPECT_TRUE(boxes.Pending().empty());
  ASSERT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(boxes.shown()[0].text, "Delete all occurrences?");
  EXPECT_EQ(boxes.shown()[0].buttons, MbButtons::YesNo);
  EXPECT_EQ(boxes.shown()[0].answer, MbResult::No);
  EXPECT_EQ(boxes.shown()[1].caption, "Other");
}

TEST(ScriptedMessageBoxesTest, AnUnexpectedBoxIsRecordedAndGetsTheFirstButton) {
  ScriptedMessageBoxes boxes;
  boxes.Expect("second");
  EXPECT_EQ(boxes.Show("first", MbButtons::YesNo, "VeskCal"), MbResult::Yes);
  EXPECT_EQ(boxes.Show("other", MbButtons::OkCancel, "VeskCal"), MbResult::Ok);
  EXPECT_EQ(boxes.unexpected(), (std::vector<std::string>{"first", "other"}));
  // The expectation still waits for its box.
  EXPECT_EQ(boxes.Pending(), (std::vector<std::string>{"second"}));
  EXPECT_EQ(boxes.shown().size(), 2u);
  boxes.Clear();
  EXPECT_TRUE(boxes.unexpected().empty());
  EXPECT_TRUE(boxes.Pending().empty());
  EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
}  // namespace vesk

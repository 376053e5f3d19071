#include "platform/headless/scripted_message_boxes.h"

namespace vesk {

MbResult ScriptedMessageBoxes::Show(std::string_view text, MbButtons buttons,
                                    std::string_view caption) {
  if (whileShown) whileShown(text);
  MbResult answer;
  if (!expected_.empty() && expected_.front().text == text) {
    answer = expected_.front().answer;
    expected_.pop_front();
  } else {
    // Answered with the first button, as if the user pressed Enter.
    unexpected_.emplace_back(text);
    answer = buttons == MbButtons::YesNo ? MbResult::Yes : MbResult::Ok;
  }
  shown_.push_back({std::string(text), std::string(caption), buttons, answer});
  return answer;
}

void ScriptedMessageBoxes::Expect(std::string text, MbResult answer) {
  expected_.push_back({std::move(text), answer});
}

std::vector<std::string> ScriptedMessageBoxes::Pending() const {
  std::vector<std::string> texts;
  for (const auto& e : expected_) texts.push_back(e.text);
  return texts;
}

void ScriptedMessageBoxes::Clear() {
  expected_.clear();
  shown_.clear();
  unexpected_.clear();
}

}  // namespace vesk

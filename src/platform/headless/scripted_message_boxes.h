#pragma once
// Message boxes answered by the test's script. Every box shown is recorded; a
// box that the script did not expect is recorded as unexpected and answered
// with the first button, and the test fixture fails on it.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace vesk {

class ScriptedMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    MbButtons buttons;
    MbResult answer;
  };

  MbResult Show(std::string_view text, MbButtons buttons, std::string_view caption) override;

  // The next box must have exactly this text; it is answered with `answer`.
  void Expect(std::string text, MbResult answer = MbResult::Ok);
  const std::vector<Shown>& shown() const { return shown_; }
  const std::vector<std::string>& unexpected() const { return unexpected_; }
  // Expected boxes that never came.
  std::vector<std::string> Pending() const;
  void Clear();

  // Runs while a box is on screen, before it is answered (what else may happen then).
  std::function<void(std::string_view text)> whileShown;

 private:
  struct Expected {
    std::string text;
    MbResult answer;
  };
  std::deque<Expected> expected_;
  std::vector<Shown> shown_;
  std::vector<std::string> unexpected_;
};

}  // namespace vesk

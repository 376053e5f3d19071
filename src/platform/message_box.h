#pragma once
#include <string>
#include <string_view>

namespace vesk {

enum class MbButtons { Ok, OkCancel, YesNo };
enum class MbResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

inline constexpr std::string_view kAppCaption = "VeskCal";

// Modal message boxes: information with OK, or a question.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MbResult Show(std::string_view text, MbButtons buttons,
                        std::string_view caption = kAppCaption) = 0;
};

}  // namespace vesk

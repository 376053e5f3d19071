#pragma once
// "Modify VeskCal Sounds" (dialog 152): a wave file for the start, for
// reminders and for clicks. A pick plays once; OK stores all three, Cancel
// nothing.
#include <array>
#include <string>
#include <string_view>

#include "platform/dialog.h"

namespace vesk {

struct AppContext;

// Where the file chooser starts for a stored path: the folder before the last
// "/" with the name after it, when the path has a "/" after its first
// character; otherwise the whole path as the name, and for a bare name the
// folder where it is found (none when it is not found).
struct ChooserStart {
  std::string folder;
  std::string fileName;
  bool operator==(const ChooserStart&) const = default;
};
ChooserStart ChooserStartFor(const AppContext& ctx, std::string_view path);

class CSoundsDlg : public Dialog {
 public:
  // Reads the three stored paths.
  explicit CSoundsDlg(AppContext& ctx);

  bool OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnOK() override;

  // The paths in the order start, reminders, click.
  const std::array<std::string, 3>& paths() const { return paths_; }

 private:
  void UpdateLabels();
  void Choose(std::size_t row);

  AppContext& ctx_;
  std::array<std::string, 3> paths_;
};

}  // namespace vesk

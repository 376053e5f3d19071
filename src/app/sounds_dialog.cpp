#include "app/sounds_dialog.h"

#include <filesystem>

#include "platform/ui.h"
#include "res/command_ids.h"
#include "res/setup_dialogs.h"
#include "store/app_context.h"
#include "store/sounds.h"

namespace vesk {

namespace {

struct SoundPurpose {
  std::string_view name;   // the stored value
  std::string_view title;  // the chooser's title
};
// In the order of res::kSoundRows.
constexpr std::array<SoundPurpose, 3> kPurposes{{
    {kStartSound, "Sound to play at program start-up"},
    {kReminderSound, "Sound to play with reminders"},
    {kClickSound, "Sound to play when the calendar is clicked on"},
}};
constexpr std::string_view kWaveFilter = "Wave files (*.wav)|*.wav||";
constexpr std::string_view kNoSound = "(no sound selected)";

}  // namespace

ChooserStart ChooserStartFor(const AppContext& ctx, std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash != std::string_view::npos && slash > 0) {
    return {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
  }
  ChooserStart start{{}, std::string(path)};
  // The default sounds are stored as bare names and live in the data folder.
  if (slash == std::string_view::npos && !path.empty()) {
    const std::filesystem::path found = SoundFile(ctx, path);
    if (found.has_parent_path()) start.folder = found.parent_path().string();
  }
  return start;
}

CSoundsDlg::CSoundsDlg(AppContext& ctx) : Dialog(*ctx.ui, res::SoundsDialogTemplate()), ctx_(ctx) {
  for (std::size_t i = 0; i < kPurposes.size(); ++i) {
    ReadSound(ctx_.store, kPurposes[i].name, paths_[i]);
  }
}

bool CSoundsDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  UpdateLabels();
  controls().SetIcon(res::kIconApp);
  return true;
}

void CSoundsDlg::UpdateLabels() {
  for (std::size_t i = 0; i < paths_.size(); ++i) {
    controls().SetText(res::kSoundRows[i].label, paths_[i].empty() ? kNoSound : paths_[i]);
  }
}

void CSoundsDlg::Choose(std::size_t row) {
  const ChooserStart start = ChooserStartFor(ctx_, paths_[row]);
  const std::optional<std::string> chosen =
      ui().ChooseOpenFile(kPurposes[row].title, kWaveFilter, start.folder, start.fileName);
  if (!chosen) return;
  paths_[row] = *chosen;
  UpdateLabels();
  ui().PlaySound(*chosen);
}

void CSoundsDlg::OnCommand(int id, int code) {
  for (std::size_t i = 0; i < res::kSoundRows.size(); ++i) {
    if (id == res::kSoundRows[i].button) {
      Choose(i);
      return;
    }
    if (id == res::kSoundRows[i].none) {
      paths_[i].clear();
      UpdateLabels();
      return;
    }
  }
  Dialog::OnCommand(id, code);
}

void CSoundsDlg::OnOK() {
  for (std::size_t i = 0; i < kPurposes.size(); ++i) {
    WriteSound(ctx_.store, kPurposes[i].name, paths_[i]);
  }
  Dialog::OnOK();
}

}  // namespace vesk

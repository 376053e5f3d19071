#include "app/color_setup_dialog.h"

#include <array>
#include <utility>

#include "platform/ui.h"
#include "res/command_ids.h"
#include "res/setup_dialogs.h"
#include "views/month_view.h"

namespace vesk {

namespace {

// The colours in the order of the dialog's buttons (res::kColorButtons).
constexpr std::array<Color ColorSet::*, 8> kColorFields{
    &ColorSet::fore,     &ColorSet::back,     &ColorSet::currentday, &ColorSet::hasappoint,
    &ColorSet::dayplan1, &ColorSet::dayplan2, &ColorSet::toplite,    &ColorSet::botlite,
};
constexpr std::size_t kCustomColors = 16;
constexpr Color kWhite = Rgb(255, 255, 255);

}  // namespace

CColorSetupDlg::CColorSetupDlg(Ui& ui, CVeskCalView& view, std::function<void()> repaint)
    : Dialog(ui, res::ColorSetupDialogTemplate()),
      view_(view),
      repaint_(std::move(repaint)),
      custom_(kCustomColors, kWhite) {
  for (std::size_t i = 0; i < kColorFields.size(); ++i)
    custom_[i] = view_.colors().*kColorFields[i];
}

bool CColorSetupDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  controls().SetIcon(res::kIconApp);
  // The stored set now equals the set in use, which Cancel puts back.
  atOpen_ = view_.colors();
  view_.SaveColors();
  PaintSwatches();
  return true;
}

void CColorSetupDlg::PaintSwatches() {
  for (std::size_t i = 0; i < kColorFields.size(); ++i) {
    controls().SetSwatch(res::kColorButtons[i].swatch, view_.colors().*kColorFields[i]);
  }
}

void CColorSetupDlg::Changed() {
  controls().Invalidate();
  PaintSwatches();
  if (repaint_) repaint_();
}

void CColorSetupDlg::Pick(std::size_t index) {
  Color& color = view_.colors().*kColorFields[index];
  if (const std::optional<Color> chosen = ui().ChooseColor(custom_)) {
    color = *chosen;
    Changed();
  }
  custom_[index] = color;
}

void CColorSetupDlg::ApplyScheme(const ColorSet& scheme) {
  view_.colors() = scheme;
  Changed();
}

void CColorSetupDlg::Cancel() {
  view_.colors() = atOpen_;
  if (repaint_) repaint_();
  EndDialog(kIdCancel);
}

void CColorSetupDlg::OnDismiss() { Cancel(); }

void CColorSetupDlg::OnCommand(int id, int /*code*/) {
  switch (id) {
    case res::kIdColorOk:
      view_.SaveColors();
      EndDialog(kIdOk);
      return;
    case res::kIdColorCancel:
      Cancel();
      return;
    case res::kIdYellows:
      ApplyScheme(YellowScheme());
      return;
    case res::kIdBlues:
      ApplyScheme(BlueScheme());
      return;
    case res::kIdGreens:
      ApplyScheme(GreenScheme());
      return;
    default:
      for (std::size_t i = 0; i < res::kColorButtons.size(); ++i) {
        if (res::kColorButtons[i].button == id) Pick(i);
      }
      return;
  }
}

}  // namespace vesk

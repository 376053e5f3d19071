#pragma once
// The colour dialog (132): the eight colours of the calendar windows, picked
// one at a time with the desktop's colour chooser or set at once from a
// scheme. Changes are live; OK stores them, Cancel puts back the colours in
// use when the dialog opened.
#include <functional>
#include <vector>

#include "platform/dialog.h"
#include "views/color_set.h"

namespace vesk {

class CVeskCalView;

class CColorSetupDlg : public Dialog {
 public:
  // Edits the view's colour set in place; repaint runs after every change so
  // that the open windows show it.
  CColorSetupDlg(Ui& ui, CVeskCalView& view, std::function<void()> repaint);

  bool OnInitDialog() override;
  void OnCommand(int id, int code) override;
  // Esc and the close box cancel: button 2 is "Background" here.
  void OnDismiss() override;

  // The chooser's 16 custom colours: the eight colours as they were at
  // construction, then white; a button's slot follows its colour after a pick.
  const std::vector<Color>& customColors() const { return custom_; }

 private:
  void Pick(std::size_t index);
  void ApplyScheme(const ColorSet& scheme);
  void Changed();
  void PaintSwatches();
  void Cancel();

  CVeskCalView& view_;
  std::function<void()> repaint_;
  std::vector<Color> custom_;
  ColorSet atOpen_;
};

}  // namespace vesk

#pragma once
// The live controls of a dialog built by QtTemplateDialog.
#include <string>

#include "platform/dialog.h"

class QWidget;

namespace vesk {

class QtTemplateDialog;

class QtDialogControls : public DialogControls {
 public:
  explicit QtDialogControls(QtTemplateDialog& dialog) : dialog_(dialog) {}

  void SetText(int id, std::string_view text) override;
  std::string Text(int id) const override;
  void SetChecked(int id, bool checked) override;
  bool IsChecked(int id) const override;
  void SetRange(int id, int min, int max) override;
  void SetPos(int id, int pos) override;
  int Pos(int id) const override;
  void SetDateTime(int id, const DateTime& value) override;
  std::optional<DateTime> GetDateTime(int id) const override;
  void Enable(int id, bool enabled) override;
  bool IsEnabled(int id) const override;
  void Show(int id, bool visible) override;
  void SetFocus(int id) override;
  void SetTitle(std::string_view title) override;
  void SetIcon(int iconId) override;
  void SetSwatch(int id, Color color) override;
  void Invalidate() override;

  // Static text as the desktop shows it: "&x" underlines x (dropped here), "&&" is "&".
  static std::string WithoutMnemonics(std::string_view text);

 private:
  template <typename T>
  T* Find(int id) const;

  QtTemplateDialog& dialog_;
};

}  // namespace vesk

#pragma once
// Modal dialogs on the headless twin. HeadlessDialogControls holds the values
// of a running dialog's controls (built from its template); HeadlessDialog is
// what a test's dialog script works with: it reads the controls and acts as
// the user would, each action reaching the dialog's handlers and then running
// the posted messages, as the dialog's message loop does.
#include <initializer_list>
#include <map>
#include <optional>
#include <string>

#include "platform/dialog.h"

namespace vesk {

class HeadlessUi;

class HeadlessDialogControls : public DialogControls {
 public:
  struct Control {
    ControlKind kind = ControlKind::Static;
    std::string text;
    bool checked = false;
    int min = 0, max = 100, pos = 0;  // a slider's default range, as the desktop's
    std::optional<DateTime> date;     // nothing until the program sets one
    bool enabled = true;
    bool visible = true;
    std::optional<Color> swatch;
  };

  // A program's use of a control the template does not have is recorded as a
  // failure of the Ui.
  HeadlessDialogControls(HeadlessUi& ui, const DialogTemplate& tmpl);

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
  void SetTitle(std::string_view title) override { title_ = title; }
  void SetIcon(int iconId) override { icon_ = iconId; }
  void SetSwatch(int id, Color color) override;
  void Invalidate() override { ++invalidations_; }

  // The control, or null when the template has none with that id.
  const Control* Find(int id) const;
  Control* Find(int id);
  bool IsShown(int id) const;
  std::optional<Color> Swatch(int id) const;
  int focus() const { return focus_; }
  const std::string& title() const { return title_; }
  int icon() const { return icon_; }
  int invalidations() const { return invalidations_; }

 private:
  // The control, recording a failure when it is missing.
  const Control* Need(int id) const;
  Control* Need(int id);

  HeadlessUi& ui_;
  int templateId_;
  std::map<int, Control> controls_;
  int focus_ = -1;
  std::string title_;
  int icon_ = 0;
  int invalidations_ = 0;
};

class HeadlessDialog {
 public:
  HeadlessDialog(HeadlessUi& ui, Dialog& dialog);

  Dialog& dialog() const { return dialog_; }
  int templateId() const { return dialog_.dialogTemplate().id; }
  HeadlessDialogControls& controls() { return controls_; }
  const HeadlessDialogControls& controls() const { return controls_; }

  // The user's actions. Each needs the dialog running and the control there,
  // enabled and shown; otherwise it is recorded as a failure and does nothing.
  // Types the edit's whole text: OnCommand(id, kEnChange).
  void SetText(int id, std::string_view text);
  // A button, check box (toggled) or radio button (checked, the rest of its
  // group cleared): OnCommand(id, 0). kIdOk and kIdCancel work without a
  // button, as Enter and Esc do.
  void Click(int id);
  // Enter: the default button when it is shown and enabled, else the OK command.
  void PressEnter();
  // Esc or the close box: OnDismiss.
  void PressEscape();
  // Drags a slider to pos (kept in its range): OnHScroll(id, pos).
  void Slide(int id, int pos);
  // Picks a date: OnDateTimeChange(id).
  void SetDate(int id, const DateTime& value);

 private:
  HeadlessDialogControls::Control* Usable(int id, std::initializer_list<ControlKind> kinds,
                                          std::string_view action);
  // Whether the dialog still runs; a key pressed after its end is a failure.
  bool Running(std::string_view key);

  HeadlessUi& ui_;
  Dialog& dialog_;
  HeadlessDialogControls controls_;
};

}  // namespace vesk

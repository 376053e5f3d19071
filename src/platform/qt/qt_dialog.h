#pragma once
// Modal dialogs built from templates: every control at its dialog-unit
// rectangle converted with the dialog font's base units; user actions go to
// the Dialog's handlers, and the dialog ends once a handler called EndDialog.
#include <QDialog>
#include <QFont>
#include <QRect>
#include <map>

#include "platform/dialog.h"
#include "platform/qt/qt_icons.h"

class QButtonGroup;

namespace vesk {

// The conversion of dialog units to pixels: x units are a quarter of the
// font's average character width, y units an eighth of its height.
struct DialogUnits {
  int baseX = 0;
  int baseY = 0;
  QRect ToPixels(const Rect& dlu) const;
};

// The dialog font: the desktop's sans font at the template's point size.
QFont DialogFontFor(const DialogTemplate& tmpl);
DialogUnits DialogUnitsFor(const QFont& font);

class QtTemplateDialog : public QDialog {
 public:
  QtTemplateDialog(Dialog& dialog, QWidget* parent, const QtIcons& icons);

  const QtIcons& icons() const { return icons_; }

  QWidget* Control(int id) const;
  // The radio button group that holds the button, if any.
  QButtonGroup* GroupOf(QWidget* button) const;
  // Runs a handler of the dialog, then closes the dialog if it ended.
  template <typename Handler>
  void Call(Handler handler) {
    handler(dialog_);
    if (!dialog_.IsRunning() && isVisible()) done(dialog_.result());
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Esc and the close box: the dialog's OnDismiss.
  void reject() override;

 private:
  void Build();
  QWidget* MakeControl(const ControlTemplate& c, QButtonGroup*& radioGroup);
  void Connect(QWidget* widget, const ControlTemplate& c);

  Dialog& dialog_;
  const QtIcons& icons_;
  DialogUnits units_;
  std::map<int, QWidget*> controls_;
  std::map<QWidget*, QButtonGroup*> groups_;
};

}  // namespace vesk

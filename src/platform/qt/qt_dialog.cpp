#include "platform/qt/qt_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <climits>
#include <cmath>

#include "platform/qt/qt_dialog_controls.h"
#include "platform/qt/qt_icons.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_ui.h"
#include "platform/window.h"

namespace vesk {
namespace {

// a * b / c rounded to the nearest integer, as the desktop converts units.
int MulDiv(int a, int b, int c) {
  return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

int BitmapIdOf(const std::string& text) {
  char* end = nullptr;
  const long id = std::strtol(text.c_str(), &end, 10);
  return end != text.c_str() ? static_cast<int>(id) : 0;
}

}  // namespace

QRect DialogUnits::ToPixels(const Rect& dlu) const {
  const int left = MulDiv(dlu.left, baseX, 4);
  const int top = MulDiv(dlu.top, baseY, 8);
  const int right = MulDiv(dlu.right, baseX, 4);
  const int bottom = MulDiv(dlu.bottom, baseY, 8);
  return QRect(left, top, right - left, bottom - top);
}

QFont DialogFontFor(const DialogTemplate& tmpl) {
  QFont font = QApplication::font();
  font.setPointSize(std::max(tmpl.fontPoints, 1));
  return font;
}

DialogUnits DialogUnitsFor(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width of the 52 letters, rounded.
  const int letters =
      metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return {(letters / 26 + 1) / 2, metrics.height()};
}

QtTemplateDialog::QtTemplateDialog(Dialog& dialog, QWidget* parent, const QtIcons& icons)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      dialog_(dialog),
      icons_(icons) {
  const DialogTemplate& tmpl = dialog.dialogTemplate();
  setFont(DialogFontFor(tmpl));
  units_ = DialogUnitsFor(font());
  setWindowTitle(ToQString(tmpl.caption));
  setFixedSize(units_.ToPixels(Rect{0, 0, tmpl.width, tmpl.height}).size());
  Build();
}

QWidget* QtTemplateDialog::Control(int id) const {
  const auto it = controls_.find(id);
  return it != controls_.end() ? it->second : nullptr;
}

QButtonGroup* QtTemplateDialog::GroupOf(QWidget* button) const {
  const auto it = groups_.find(button);
  return it != groups_.end() ? it->second : nullptr;
}

void QtTemplateDialog::Build() {
  QButtonGroup* radioGroup = nullptr;
  for (const ControlTemplate& c : dialog_.dialogTemplate().controls) {
    QWidget* widget = MakeControl(c, radioGroup);
    widget->setGeometry(units_.ToPixels(c.dlu));
    if (c.hidden) widget->hide();
    if (c.disabled) widget->setEnabled(false);
    if (c.id != -1) controls_.emplace(c.id, widget);
    Connect(widget, c);
  }
}

QWidget* QtTemplateDialog::MakeControl(const ControlTemplate& c, QButtonGroup*& radioGroup) {
  if (c.kind != ControlKind::RadioButton) radioGroup = nullptr;
  switch (c.kind) {
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
      auto* button = new QPushButton(ToQString(c.text), this);
      button->setDefault(c.kind == ControlKind::DefaultButton);
      return button;
    }
    case ControlKind::RadioButton: {
      auto* radio = new QRadioButton(ToQString(c.text), this);
      if (radioGroup == nullptr || c.groupStart) radioGroup = new QButtonGroup(this);
      radioGroup->addButton(radio);
      groups_.emplace(radio, radioGroup);
      return radio;
    }
    case ControlKind::CheckBox:
      return new QCheckBox(ToQString(c.text), this);
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(ToQString(c.text), this);
      if (c.numbersOnly) edit->setValidator(new QIntValidator(0, INT_MAX, edit));
      return edit;
    }
    case ControlKind::Static: {
      auto* label = new QLabel(this);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setText(ToQString(QtDialogControls::WithoutMnemonics(c.text)));
      return label;
    }
    case ControlKind::GroupBox: {
      // Only the frame and its title: the controls inside are the dialog's own.
      auto* box = new QGroupBox(ToQString(c.text), this);
      box->setAttribute(Qt::WA_TransparentForMouseEvents);
      box->lower();
      return box;
    }
    case ControlKind::Slider:
      return new QSlider(Qt::Horizontal, this);
    case ControlKind::DateTimePicker: {
      auto* picker = new QDateTimeEdit(QDate::currentDate(), this);
      picker->setCalendarPopup(true);
      picker->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
      // Dates the program's 32-bit local time can hold, so a picked date is
      // never one the dialog must refuse.
      picker->setDateTimeRange(QDateTime(QDate(kFirstPickerYear, 1, 1), QTime(0, 0)),
                               QDateTime(QDate(kLastPickerYear, 12, 31), QTime(23, 59, 59)));
      return picker;
    }
    case ControlKind::Bitmap: {
      auto* picture = new QLabel(this);
      const QRect r = units_.ToPixels(c.dlu);
      picture->setPixmap(icons_.Bitmap(BitmapIdOf(c.text), r.width(), r.height()));
      return picture;
    }
  }
  return new QWidget(this);
}

void QtTemplateDialog::Connect(QWidget* widget, const ControlTemplate& c) {
  const int id = c.id;
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this,
            [this, id] { Call([id](Dialog& d) { d.OnCommand(id, 0); }); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    connect(edit, &QLineEdit::textChanged, this,
            [this, id] { Call([id](Dialog& d) { d.OnCommand(id, kEnChange); }); });
  } else if (auto* slider = qobject_cast<QSlider*>(widget)) {
    connect(slider, &QSlider::valueChanged, this,
            [this, id](int pos) { Call([id, pos](Dialog& d) { d.OnHScroll(id, pos); }); });
  } else if (auto* picker = qobject_cast<QDateTimeEdit*>(widget)) {
    connect(picker, &QDateTimeEdit::dateTimeChanged, this,
            [this, id] { Call([id](Dialog& d) { d.OnDateTimeChange(id); }); });
  }
}

void QtTemplateDialog::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    // Enter presses the default button; without one it is the OK command.
    for (QPushButton* button : findChildren<QPushButton*>()) {
      if (button->isDefault() && button->isVisible() && button->isEnabled()) {
        button->click();
        return;
      }
    }
    Call([](Dialog& d) { d.OnCommand(kIdOk, 0); });
    return;
  }
  QDialog::keyPressEvent(event);
}

void QtTemplateDialog::reject() {
  Call([](Dialog& d) { d.OnDismiss(); });
}

int QtUi::RunDialog(Dialog& dialog, Window* owner) {
  QWidget* parent = DialogParent(owner);
  QtTemplateDialog window(dialog, parent, icons_);
  ApplyDialogColors(window);
  if (parent != nullptr) window.setWindowModality(Qt::WindowModal);
  // A dialog centred on the desktop; the others stand over their owner, as Qt places them.
  if (dialog.dialogTemplate().centered) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.move(screen.center() - QPoint(window.width() / 2, window.height() / 2));
  }
  QtDialogControls controls(window);
  AttachControls(dialog, controls);
  // When OnInitDialog returns true the dialog puts the focus on its first
  // control as it shows; otherwise the handler has placed it.
  dialog.OnInitDialog();
  if (dialog.IsRunning()) window.exec();
  DetachControls(dialog);
  return dialog.result();
}

}  // namespace vesk

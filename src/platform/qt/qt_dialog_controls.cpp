#include "platform/qt/qt_dialog_controls.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QButtonGroup>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "platform/qt/qt_dialog.h"
#include "platform/qt/qt_icons.h"
#include "platform/qt/qt_text.h"

namespace vesk {

template <typename T>
T* QtDialogControls::Find(int id) const {
  return qobject_cast<T*>(dialog_.Control(id));
}

std::string QtDialogControls::WithoutMnemonics(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

void QtDialogControls::SetText(int id, std::string_view text) {
  const QString value = ToQString(text);
  if (auto* edit = Find<QLineEdit>(id)) {
    // Only the user's edits are reported: the dialog's own writes come from
    // its data exchange, during which the framework ignores notifications.
    const QSignalBlocker blocker(edit);
    edit->setText(value);
  } else if (auto* button = Find<QAbstractButton>(id)) {
    button->setText(value);
  } else if (auto* box = Find<QGroupBox>(id)) {
    box->setTitle(value);
  } else if (auto* label = Find<QLabel>(id)) {
    label->setText(ToQString(WithoutMnemonics(text)));
  }
}

std::string QtDialogControls::Text(int id) const {
  if (const auto* edit = Find<QLineEdit>(id)) return ToStdString(edit->text());
  if (const auto* button = Find<QAbstractButton>(id)) return ToStdString(button->text());
  if (const auto* box = Find<QGroupBox>(id)) return ToStdString(box->title());
  if (const auto* label = Find<QLabel>(id)) return ToStdString(label->text());
  if (const auto* picker = Find<QDateTimeEdit>(id)) return ToStdString(picker->text());
  return {};
}

void QtDialogControls::SetChecked(int id, bool checked) {
  auto* button = Find<QAbstractButton>(id);
  if (button == nullptr) return;
  // An exclusive group refuses to uncheck its checked button.
  QButtonGroup* group = dialog_.GroupOf(button);
  const bool exclusive = group != nullptr && group->exclusive();
  if (exclusive && !checked) group->setExclusive(false);
  button->setChecked(checked);
  if (exclusive && !checked) group->setExclusive(true);
}

bool QtDialogControls::IsChecked(int id) const {
  const auto* button = Find<QAbstractButton>(id);
  return button != nullptr && button->isChecked();
}

void QtDialogControls::SetRange(int id, int min, int max) {
  if (auto* slider = Find<QAbstractSlider>(id)) {
    const QSignalBlocker blocker(slider);
    slider->setRange(min, max);
  }
}

void QtDialogControls::SetPos(int id, int pos) {
  if (auto* slider = Find<QAbstractSlider>(id)) {
    const QSignalBlocker blocker(slider);
    slider->setValue(pos);
  }
}

int QtDialogControls::Pos(int id) const {
  const auto* slider = Find<QAbstractSlider>(id);
  return slider != nullptr ? slider->value() : 0;
}

void QtDialogControls::SetDateTime(int id, const DateTime& value) {
  auto* picker = Find<QDateTimeEdit>(id);
  const QDate date(value.year, value.month, value.day);
  if (picker == nullptr || !date.isValid()) return;
  const QSignalBlocker blocker(picker);
  picker->setDateTime(QDateTime(date, QTime(value.hour, value.minute, value.second)));
}

std::optional<DateTime> QtDialogControls::GetDateTime(int id) const {
  const auto* picker = Find<QDateTimeEdit>(id);
  if (picker == nullptr) return std::nullopt;
  const QDateTime shown = picker->dateTime();
  const QDate date = shown.date();
  if (!date.isValid()) return std::nullopt;
  const QTime time = shown.time();
  // Qt counts Monday as 1 and Sunday as 7; the program Sunday as 1.
  return DateTime{date.year(),
                  date.month(),
                  date.day(),
                  time.hour(),
                  time.minute(),
                  time.second(),
                  date.dayOfWeek() % 7 + 1};
}

void QtDialogControls::Enable(int id, bool enabled) {
  if (QWidget* widget = dialog_.Control(id)) widget->setEnabled(enabled);
}

bool QtDialogControls::IsEnabled(int id) const {
  const QWidget* widget = dialog_.Control(id);
  return widget != nullptr && widget->isEnabled();
}

void QtDialogControls::Show(int id, bool visible) {
  if (QWidget* widget = dialog_.Control(id)) widget->setVisible(visible);
}

void QtDialogControls::SetFocus(int id) {
  QWidget* widget = dialog_.Control(id);
  if (widget == nullptr) return;
  widget->setFocus(Qt::OtherFocusReason);
  // A field sent back after a failed check has its text selected.
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
}

void QtDialogControls::SetTitle(std::string_view title) {
  dialog_.setWindowTitle(ToQString(title));
}

void QtDialogControls::SetIcon(int iconId) { dialog_.setWindowIcon(dialog_.icons().Icon(iconId)); }

void QtDialogControls::SetSwatch(int id, Color color) {
  QWidget* widget = dialog_.Control(id);
  if (widget == nullptr) return;
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, QColor(RedOf(color), GreenOf(color), BlueOf(color)));
  // Outlined in black, so a swatch of the dialog's own background still shows.
  palette.setColor(QPalette::WindowText, Qt::black);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
  if (auto* label = qobject_cast<QLabel*>(widget))
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
  widget->update();
}

void QtDialogControls::Invalidate() { dialog_.update(); }

}  // namespace vesk

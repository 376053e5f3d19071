#include "platform/qt/qt_common_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFontDialog>
#include <QMessageBox>
#include <QPalette>
#include <QScreen>
#include <QStringList>
#include <cmath>

#include "platform/qt/qt_font.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_ui.h"

namespace vesk {
namespace {

QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

Color FromQColor(const QColor& c) { return Rgb(c.red(), c.green(), c.blue()); }

// Tells file types by their names alone. The desktop's provider reads the
// first bytes of files it cannot name, and closing such a read would release
// the record locks the store holds on its own files: those locks belong to
// the process, not to one descriptor, so another process could then delete
// the store's write-ahead log while the calendar still writes to it.
class NameOnlyIconProvider : public QFileIconProvider {
 public:
  QIcon icon(const QFileInfo& info) const override {
    return QFileIconProvider::icon(info.isDir() ? Folder : File);
  }
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return "Folder";
    return info.suffix().isEmpty() ? QString("File") : info.suffix().toUpper() + " File";
  }
};

}  // namespace

QString ToQtFileFilter(std::string_view filter) {
  const QStringList parts = ToQString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& name = parts[i];
    if (name.isEmpty()) break;  // the closing "||"
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    filters << (name.contains('(') ? name : name + " (" + patterns + ")");
  }
  return filters.join(";;");
}

MbResult QtUi::Show(std::string_view text, MbButtons buttons, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::NoButton,
                  DialogParent(ActiveWindow()));
  box.setTextFormat(Qt::PlainText);
  ApplyDialogColors(box);
  switch (buttons) {
    case MbButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MbButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case MbButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Cancel:
      return MbResult::Cancel;
    case QMessageBox::Yes:
      return MbResult::Yes;
    case QMessageBox::No:
      return MbResult::No;
    case QMessageBox::Ok:
      return MbResult::Ok;
    default:
      // Closed without a button: what Esc means for these buttons.
      return buttons == MbButtons::YesNo      ? MbResult::No
             : buttons == MbButtons::OkCancel ? MbResult::Cancel
                                              : MbResult::Ok;
  }
}

void QtUi::SetDialogColors(Color back, Color fore) { dialogColors_ = {back, fore}; }

// Only the dialog's own surface and texts take the colours; buttons and edit
// fields keep the desktop's, so they stay readable whatever the scheme.
void QtUi::ApplyDialogColors(QWidget& dialog) const {
  if (!dialogColors_) return;
  QPalette palette = dialog.palette();
  const auto [back, fore] = *dialogColors_;
  palette.setColor(QPalette::Window, QColor(RedOf(back), GreenOf(back), BlueOf(back)));
  palette.setColor(QPalette::WindowText, QColor(RedOf(fore), GreenOf(fore), BlueOf(fore)));
  dialog.setPalette(palette);
}

std::optional<Color> QtUi::ChooseColor(std::vector<Color>& customColors) {
  const int shared =
      std::min<int>(static_cast<int>(customColors.size()), QColorDialog::customCount());
  for (int i = 0; i < shared; ++i) QColorDialog::setCustomColor(i, ToQColor(customColors[i]));
  QColorDialog dialog(DialogParent(ActiveWindow()));
  if (shared > 0) dialog.setCurrentColor(ToQColor(customColors[0]));
  const bool chosen = dialog.exec() == QDialog::Accepted;
  // The custom colours the user edited are kept, also when cancelled.
  for (int i = 0; i < shared; ++i) customColors[i] = FromQColor(QColorDialog::customColor(i));
  if (!chosen) return std::nullopt;
  return FromQColor(dialog.selectedColor());
}

std::optional<FontRecord> QtUi::ChooseFont(const FontRecord& initial) {
  QFont start = ToQFont(initial, QApplication::font());
  // The dialog lists point sizes.
  if (start.pixelSize() > 0) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    start.setPointSizeF(start.pixelSize() * 72.0 / dpi);
  }
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, start, DialogParent(ActiveWindow()), "Font");
  if (!ok) return std::nullopt;
  return ToFontRecord(font, initial);
}

std::optional<std::string> QtUi::ChooseOpenFile(std::string_view title, std::string_view filter,
                                                std::string_view folder,
                                                std::string_view fileName) {
  QFileDialog dialog(DialogParent(ActiveWindow()), ToQString(title), ToQString(folder),
                     ToQtFileFilter(filter));
  NameOnlyIconProvider icons;
  dialog.setIconProvider(&icons);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!fileName.empty()) dialog.selectFile(ToQString(fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToStdString(dialog.selectedFiles().front());
}

}  // namespace vesk

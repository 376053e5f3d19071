#include "platform/qt/qt_tray.h"

#include <QSystemTrayIcon>

#include "platform/qt/qt_icons.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_ui.h"

namespace vesk {

QtTrayIcon::QtTrayIcon(TrayHandler& handler, std::string_view tip, const QIcon& icon)
    : handler_(handler), tip_(tip), icon_(new QSystemTrayIcon(icon)) {
  icon_->setToolTip(ToQString(tip));
  QObject::connect(icon_, &QSystemTrayIcon::activated, icon_,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     switch (reason) {
                       // A double click comes after its first click's
                       // Trigger and is not a second click.
                       case QSystemTrayIcon::Trigger:
                         handler_.OnTrayLeftDown();
                         break;
                       case QSystemTrayIcon::Context:
                         handler_.OnTrayRightDown();
                         break;
                       default:
                         break;
                     }
                   });
  icon_->show();
}

QtTrayIcon::~QtTrayIcon() {
  if (!icon_) return;
  // The icon may be reporting the click that removes it.
  QObject::disconnect(icon_, nullptr, nullptr, nullptr);
  icon_->hide();
  icon_->deleteLater();
}

void QtTrayIcon::SetTip(std::string_view tip) {
  tip_ = std::string(tip);
  if (icon_) icon_->setToolTip(ToQString(tip));
}

bool QtTrayIcon::IsAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

std::unique_ptr<TrayIcon> QtUi::CreateTrayIcon(TrayHandler& handler, std::string_view tip) {
  return std::make_unique<QtTrayIcon>(handler, tip, icons_.AppIcon());
}

}  // namespace vesk

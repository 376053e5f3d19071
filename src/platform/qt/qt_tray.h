#pragma once
// The notification-area icon over QSystemTrayIcon. A left click and a right
// click reach the handler; the handler shows its own menu for the right click.
// Qt reports no hovering over a tray icon, so the handler keeps the tip fresh
// itself (the main frame rebuilds it every minute and after every change).
#include <QPointer>
#include <string>

#include "platform/ui.h"

class QSystemTrayIcon;

namespace vesk {

class QtTrayIcon : public TrayIcon {
 public:
  QtTrayIcon(TrayHandler& handler, std::string_view tip, const QIcon& icon);
  ~QtTrayIcon() override;
  QtTrayIcon(const QtTrayIcon&) = delete;
  QtTrayIcon& operator=(const QtTrayIcon&) = delete;

  void SetTip(std::string_view tip) override;
  std::string Tip() const override { return tip_; }
  bool IsAvailable() const override;

 private:
  TrayHandler& handler_;
  std::string tip_;
  QPointer<QSystemTrayIcon> icon_;
};

}  // namespace vesk

#pragma once
// Menus built from the program's menu data, and its Ctrl+key accelerators.
#include <QObject>
#include <functional>
#include <vector>

#include "platform/menu.h"
#include "platform/window.h"

class QMenu;
class QMenuBar;
class QWidget;

namespace vesk {

class QtUi;

// Where a menu's commands go, and where the item states come from.
struct MenuRouting {
  std::function<void(int id)> command;
  std::function<void(int id, CommandState& state)> update;
};

// Commands and states of the window behind ref, while it lives.
MenuRouting MenuRoutingFor(WindowRef ref);

// Adds the items to menu; before a pop-up shows, every item asks for its state.
void FillMenu(QMenu& menu, const std::vector<MenuItem>& items, const MenuRouting& routing);
// A menu bar (a child of parent) with the top-level items of menu.
QMenuBar* BuildMenuBar(QWidget* parent, const Menu& menu, const MenuRouting& routing);

// Ctrl+letter keys typed in any window of the program become commands of one
// target window. Watches the keys of the whole application, so the commands
// also work while the target is hidden; a modal dialog or an open menu keeps them.
class QtAccelerators : public QObject {
 public:
  explicit QtAccelerators(const QtUi& ui) : ui_(ui) {}
  void Set(const std::vector<Accelerator>& table, WindowRef target);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const QtUi& ui_;
  std::vector<Accelerator> table_;
  WindowRef target_;
  bool installed_ = false;
};

}  // namespace vesk

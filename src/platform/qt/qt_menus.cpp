#include "platform/qt/qt_menus.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/qt_text.h"
#include "platform/qt/qt_ui.h"

namespace vesk {
namespace {

constexpr const char* kCommandProperty = "veskCommand";

void ApplyState(QAction& action, const MenuRouting& routing) {
  const QVariant id = action.property(kCommandProperty);
  if (!id.isValid() || !routing.update) return;
  CommandState state;
  routing.update(id.toInt(), state);
  action.setEnabled(state.enabled);
  action.setCheckable(state.checked);
  action.setChecked(state.checked);
}

QAction* AddCommand(QWidget& owner, const MenuItem& item, const MenuRouting& routing) {
  auto* action = new QAction(ToQString(item.text), &owner);
  action->setProperty(kCommandProperty, item.id);
  QObject::connect(action, &QAction::triggered, action, [command = routing.command, id = item.id] {
    if (command) command(id);
  });
  owner.addAction(action);
  return action;
}

void FillItems(QMenu& menu, const std::vector<MenuItem>& items, const MenuRouting& routing) {
  for (const MenuItem& item : items) {
    if (item.IsSeparator()) {
      menu.addSeparator();
    } else if (item.IsPopup()) {
      QMenu* sub = menu.addMenu(ToQString(item.text));
      FillMenu(*sub, item.children, routing);
    } else {
      AddCommand(menu, item, routing);
    }
  }
}

}  // namespace

MenuRouting MenuRoutingFor(WindowRef ref) {
  return {[ref](int id) {
            if (Window* w = ref.get()) w->OnCommand(id);
          },
          [ref](int id, CommandState& state) {
            if (Window* w = ref.get()) w->OnUpdateCommand(id, state);
          }};
}

void FillMenu(QMenu& menu, const std::vector<MenuItem>& items, const MenuRouting& routing) {
  FillItems(menu, items, routing);
  QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu, routing] {
    for (QAction* action : menu.actions()) ApplyState(*action, routing);
  });
}

QMenuBar* BuildMenuBar(QWidget* parent, const Menu& menu, const MenuRouting& routing) {
  auto* bar = new QMenuBar(parent);
  // In the window, where the program's geometry expects it.
  bar->setNativeMenuBar(false);
  for (const MenuItem& item : menu) {
    if (item.IsSeparator()) continue;
    if (item.IsPopup()) {
      QMenu* sub = bar->addMenu(ToQString(item.text));
      FillMenu(*sub, item.children, routing);
    } else {
      // A command on the bar itself: its state is taken when the bar is used.
      AddCommand(*bar, item, routing);
    }
  }
  auto refreshBar = [bar, routing] {
    for (QAction* action : bar->actions()) ApplyState(*action, routing);
  };
  refreshBar();
  QObject::connect(bar, &QMenuBar::hovered, bar, refreshBar);
  return bar;
}

void QtAccelerators::Set(const std::vector<Accelerator>& table, WindowRef target) {
  table_ = table;
  target_ = target;
  if (!installed_) {
    qApp->installEventFilter(this);
    installed_ = true;
  }
}

bool QtAccelerators::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  const auto& key = static_cast<const QKeyEvent&>(*event);
  if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier) return false;
  if (key.key() < Qt::Key_A || key.key() > Qt::Key_Z) return false;
  if (QApplication::activeModalWidget() != nullptr ||
      QApplication::activePopupWidget() != nullptr) {
    return false;
  }
  if (!ui_.IsProgramWindow(static_cast<QWidget*>(watched))) return false;
  for (const Accelerator& accelerator : table_) {
    if (accelerator.key != static_cast<char>(key.key())) continue;
    if (Window* target = target_.get()) {
      target->OnCommand(accelerator.command);
      return true;
    }
    return false;
  }
  return false;
}

}  // namespace vesk

#pragma once
// Windows for the window-layer tests that write what happens to them into a
// shared log, with hooks for the cases that act from inside a handler.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/edit_control.h"
#include "platform/ui.h"

namespace vesk::test {

using Log = std::vector<std::string>;

class LogWindow : public Window {
 public:
  LogWindow(Ui& ui, Log& log, std::string name, bool* deleted = nullptr)
      : Window(ui), log_(log), name_(std::move(name)), deleted_(deleted) {}
  ~LogWindow() override {
    if (deleted_ != nullptr) *deleted_ = true;
  }

  void OnCreate() override { Write("create"); }
  void OnDestroy() override {
    Write("destroy");
    if (onDestroy) onDestroy();
  }
  void OnLButtonDown(Point p) override {
    Write("down " + std::to_string(p.x) + "," + std::to_string(p.y));
    if (onLButton) onLButton();
  }
  void OnLButtonUp(Point p) override {
    Write("up " + std::to_string(p.x) + "," + std::to_string(p.y));
  }
  void OnRButtonDown(Point p) override {
    Write("rdown " + std::to_string(p.x) + "," + std::to_string(p.y));
  }
  void OnMouseMove(Point p) override {
    Write("move " + std::to_string(p.x) + "," + std::to_string(p.y));
  }
  bool OnMouseWheel(int delta) override {
    Write("wheel " + std::to_string(delta));
    return handlesWheel;
  }
  bool OnKeyDown(int vk) override {
    Write("key " + std::to_string(vk));
    return consumedKeys.contains(vk);
  }
  bool OnCommand(int id) override {
    Write("command " + std::to_string(id));
    return true;
  }
  void OnUpdateCommand(int id, CommandState& state) override {
    if (disabledCommands.contains(id)) state.enabled = false;
    if (checkedCommands.contains(id)) state.checked = true;
  }
  void OnMove() override { Write("move window"); }
  void OnControlNotify(int id, int code) override {
    Write("notify " + std::to_string(id) + " " + std::to_string(code));
  }
  bool OnMinimize() override {
    Write("minimize");
    return handlesMinimize;
  }
  void OnClose() override {
    Write("close");
    Window::OnClose();
  }
  void OnUserMessage(int message) override { Write("user " + std::to_string(message)); }
  void OnPaint(Canvas& canvas) override {
    if (onPaint) onPaint(canvas);
  }

  std::function<void()> onLButton;
  std::function<void()> onDestroy;
  std::function<void(Canvas&)> onPaint;
  std::set<int> consumedKeys;
  std::set<int> disabledCommands;
  std::set<int> checkedCommands;
  bool handlesWheel = false;
  bool handlesMinimize = false;

 private:
  void Write(const std::string& what) { log_.push_back(name_ + " " + what); }
  Log& log_;
  std::string name_;
  bool* deleted_;
};

class LogEdit : public EditControl {
 public:
  LogEdit(Ui& ui, Log& log) : EditControl(ui), log_(log) {}
  bool OnKeyDown(int vk) override {
    log_.push_back("edit key " + std::to_string(vk));
    if (onKey) return onKey(vk);
    return consumedKeys.contains(vk);
  }
  bool OnMouseWheel(int delta) override {
    log_.push_back("edit wheel " + std::to_string(delta));
    return handlesWheel;
  }
  void OnDestroy() override { log_.push_back("edit destroy"); }

  std::function<bool(int)> onKey;
  std::set<int> consumedKeys;
  bool handlesWheel = false;

 private:
  Log& log_;
};

inline WindowSpec TopLevel(std::string title, Rect rect = {100, 100, 300, 250}) {
  WindowSpec spec;
  spec.title = std::move(title);
  spec.rect = rect;
  spec.visible = true;
  return spec;
}

}  // namespace vesk::test

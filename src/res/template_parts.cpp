#include "res/template_parts.h"

#include <utility>

#include "res/command_ids.h"

namespace vesk::res {

ControlTemplate Control(ControlKind kind, int id, std::string text, int x, int y, int cx, int cy) {
  ControlTemplate c;
  c.kind = kind;
  c.id = id;
  c.text = std::move(text);
  c.dlu = Rect::FromSize(x, y, cx, cy);
  return c;
}

ControlTemplate Label(std::string text, int x, int y, int cx, int cy) {
  return Control(ControlKind::Static, -1, std::move(text), x, y, cx, cy);
}

ControlTemplate Bullet(int x, int y) {
  return Control(ControlKind::Bitmap, -1, std::to_string(kBitmapBullet), x, y, 6, 6);
}

int AddHintLines(DialogTemplate& t, std::span<const char* const> lines, int x, int y, int width,
                 int step) {
  for (const char* line : lines) {
    t.controls.push_back(Bullet(x, y + 1));
    t.controls.push_back(Label(line, x + 12, y, width));
    y += step;
  }
  return y;
}

MenuItem LineEditingMenu() {
  return {"&Edit",
          0,
          {
              {"&Undo\tCtrl+Z", kIdUndo, {}},
              MenuItem::Separator(),
              {"Cu&t\tCtrl+X", kIdCut, {}},
              {"&Copy\tCtrl+C", kIdCopy, {}},
              {"&Paste\tCtrl+V", kIdPaste, {}},
              {"&Delete\tDel", kIdDelete, {}},
              {"Select &All\tCtrl+A", kIdSelectAll, {}},
          }};
}

}  // namespace vesk::res

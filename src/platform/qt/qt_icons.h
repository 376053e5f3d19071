#pragma once
// The program's icons and dialog bitmaps, drawn by our own code from the
// looks the program handed to its Ui.
#include <QIcon>
#include <QPixmap>

#include "platform/ui_resources.h"

namespace vesk {

class QtIcons {
 public:
  explicit QtIcons(UiResources resources) : resources_(std::move(resources)) {}

  // The icon with a resource id at the given size in pixels; an unknown id
  // gets the program's icon.
  QPixmap IconPixmap(int iconId, int size) const;
  // The icon at the usual sizes (16 to 128 pixels).
  QIcon Icon(int iconId) const;
  // The program's own icon.
  QIcon AppIcon() const { return Icon(AppLook().id); }
  // The bitmap with a resource id, drawn to fit width x height.
  QPixmap Bitmap(int bitmapId, int width, int height) const;
  int helpContents() const { return resources_.helpContents; }

 private:
  const IconLook& LookOf(int id) const;
  const IconLook& AppLook() const;

  UiResources resources_;
  IconLook fallback_{0, "?", 0x808080};
};

}  // namespace vesk

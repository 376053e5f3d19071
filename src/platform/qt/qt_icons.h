#pragma once
// The program's icons and dialog bitmaps, drawn by our own code.
#include <QIcon>
#include <QPixmap>

namespace vesk {

// The icon with a resource id at the given size in pixels; an unknown id gets
// the application icon.
QPixmap IconPixmap(int iconId, int size);
// The icon at the usual sizes (16 to 128 pixels).
QIcon IconFor(int iconId);
// The bitmap with a resource id, drawn to fit width x height.
QPixmap BitmapPixmap(int bitmapId, int width, int height);

}  // namespace vesk

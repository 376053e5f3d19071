#include "platform/qt/qt_icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace vesk {
namespace {

void DrawLabelSquare(QPainter& painter, const QRectF& area, const IconLook& look) {
  const qreal radius = area.width() / 6;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgb(look.rgb));
  painter.drawRoundedRect(area, radius, radius);
  QFont font("Sans Serif");
  font.setBold(true);
  const int letters = static_cast<int>(look.label.size());
  font.setPixelSize(std::max(6, static_cast<int>(area.height() * (letters > 1 ? 0.5 : 0.7))));
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(area, Qt::AlignCenter, QString::fromStdString(look.label));
}

QPixmap Transparent(int width, int height) {
  QPixmap pixmap(std::max(1, width), std::max(1, height));
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

const IconLook& QtIcons::LookOf(int id) const {
  for (const IconLook& look : resources_.icons) {
    if (look.id == id) return look;
  }
  return AppLook();
}

const IconLook& QtIcons::AppLook() const {
  return resources_.icons.empty() ? fallback_ : resources_.icons.front();
}

QPixmap QtIcons::IconPixmap(int iconId, int size) const {
  QPixmap pixmap = Transparent(size, size);
  QPainter painter(&pixmap);
  DrawLabelSquare(painter, QRectF(0, 0, size, size), LookOf(iconId));
  return pixmap;
}

QIcon QtIcons::Icon(int iconId) const {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128}) icon.addPixmap(IconPixmap(iconId, size));
  return icon;
}

QPixmap QtIcons::Bitmap(int bitmapId, int width, int height) const {
  QPixmap pixmap = Transparent(width, height);
  QPainter painter(&pixmap);
  if (bitmapId == resources_.bulletBitmap) {
    // A round bullet centred in the control.
    const qreal d = std::min(width, height) * 0.6;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(AppLook().rgb));
    painter.drawEllipse(QRectF((width - d) / 2, (height - d) / 2, d, d));
  } else {
    const int side = std::min(width, height);
    DrawLabelSquare(painter, QRectF((width - side) / 2.0, (height - side) / 2.0, side, side),
                    AppLook());
  }
  return pixmap;
}

}  // namespace vesk

#include "platform/qt/qt_icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <array>

#include "res/command_ids.h"

namespace vesk {
namespace {

struct IconLook {
  int id;
  const char* label;
  QRgb color;
};

// A coloured square with a short label for every icon the program names.
constexpr std::array kIcons{
    IconLook{res::kIconApp, "VC", 0x2f6fb0},      IconLook{res::kIconToDo, "TD", 0x3f8f4f},
    IconLook{res::kIconYear, "Y", 0x8f5fa0},      IconLook{res::kIconPlanner, "DP", 0xc07020},
    IconLook{res::kIconWeek, "W", 0x2f8f8f},      IconLook{res::kIconReminder, "!", 0xc03030},
    IconLook{res::kIconCountdown, "T", 0xa08020},
};

const IconLook& LookOf(int id) {
  for (const IconLook& look : kIcons) {
    if (look.id == id) return look;
  }
  return kIcons.front();
}

void DrawLabelSquare(QPainter& painter, const QRectF& area, const IconLook& look) {
  const qreal radius = area.width() / 6;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgb(look.color));
  painter.drawRoundedRect(area, radius, radius);
  QFont font("Sans Serif");
  font.setBold(true);
  const int letters = static_cast<int>(qstrlen(look.label));
  font.setPixelSize(std::max(6, static_cast<int>(area.height() * (letters > 1 ? 0.5 : 0.7))));
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(area, Qt::AlignCenter, QString::fromLatin1(look.label));
}

QPixmap Transparent(int width, int height) {
  QPixmap pixmap(std::max(1, width), std::max(1, height));
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QPixmap IconPixmap(int iconId, int size) {
  QPixmap pixmap = Transparent(size, size);
  QPainter painter(&pixmap);
  DrawLabelSquare(painter, QRectF(0, 0, size, size), LookOf(iconId));
  return pixmap;
}

QIcon IconFor(int iconId) {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128}) icon.addPixmap(IconPixmap(iconId, size));
  return icon;
}

QPixmap BitmapPixmap(int bitmapId, int width, int height) {
  QPixmap pixmap = Transparent(width, height);
  QPainter painter(&pixmap);
  if (bitmapId == res::kBitmapBullet) {
    // A round bullet centred in the control.
    const qreal d = std::min(width, height) * 0.6;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(LookOf(res::kIconApp).color));
    painter.drawEllipse(QRectF((width - d) / 2, (height - d) / 2, d, d));
  } else {
    const int side = std::min(width, height);
    DrawLabelSquare(painter, QRectF((width - side) / 2.0, (height - side) / 2.0, side, side),
                    LookOf(res::kIconApp));
  }
  return pixmap;
}

}  // namespace vesk

#include "platform/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QTransform>
#include <algorithm>

#include "platform/qt/qt_font.h"
#include "platform/qt/qt_text.h"

namespace vesk {
namespace {

constexpr int kTrueColorCount = 1 << 24;

QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, bool printer, const QFont& defaultFont)
    : painter_(painter), printer_(printer), defaultFont_(defaultFont) {
  painter_.setFont(defaultFont_);
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

int QtCanvas::ColorCount() const {
  const int depth = painter_.device() ? painter_.device()->depth() : 24;
  return depth >= 24 ? kTrueColorCount : 1 << depth;
}

const Font* QtCanvas::SelectFont(const Font* font) {
  const Font* previous = font_;
  font_ = font;
  painter_.setFont(font ? ToQFont(font->record(), defaultFont_) : defaultFont_);
  return previous;
}

Size QtCanvas::TextExtent(std::string_view text) {
  const QFontMetrics metrics = painter_.fontMetrics();
  return {metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

Color QtCanvas::SetTextColor(Color c) {
  const Color previous = text_;
  text_ = c;
  return previous;
}

Color QtCanvas::SetBkColor(Color c) {
  const Color previous = bk_;
  bk_ = c;
  return previous;
}

void QtCanvas::TextOut(int x, int y, std::string_view text) {
  const QString qtext = ToQString(text);
  const QFontMetrics metrics = painter_.fontMetrics();
  if (mode_ == BkMode::Opaque) {
    painter_.fillRect(QRect(x, y, metrics.horizontalAdvance(qtext), metrics.height()),
                      ToQColor(bk_));
  }
  painter_.setPen(ToQColor(text_));
  painter_.drawText(QPoint(x, y + metrics.ascent()), qtext);
}

void QtCanvas::FillSolidRect(const Rect& r, Color c) {
  painter_.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(c));
  bk_ = c;
}

void QtCanvas::Line(int x1, int y1, int x2, int y2, Color c) {
  // The end point is not drawn: step back one pixel towards the start.
  const int endX = x2 - Sign(x2 - x1);
  const int endY = y2 - Sign(y2 - y1);
  if (x1 == x2 && y1 == y2) return;
  QPen pen(ToQColor(c));
  pen.setWidth(1);
  pen.setCapStyle(Qt::SquareCap);
  painter_.setPen(pen);
  painter_.drawLine(x1, y1, endX, endY);
}

void QtCanvas::Draw3dRect(const Rect& r, Color topLeft, Color bottomRight) {
  // The same four fills as the original's frame, so the background colour
  // afterwards is bottomRight there too.
  const int x = r.left, y = r.top, cx = r.Width(), cy = r.Height();
  FillSolidRect(Rect::FromSize(x, y, cx - 1, 1), topLeft);
  FillSolidRect(Rect::FromSize(x, y, 1, cy - 1), topLeft);
  FillSolidRect(Rect::FromSize(x + cx - 1, y, 1, cy), bottomRight);
  FillSolidRect(Rect::FromSize(x, y + cy - 1, cx, 1), bottomRight);
}

void QtCanvas::FitOnPage(Size content) {
  const QPaintDevice* device = painter_.device();
  if (!printer_ || device == nullptr || content.cx <= 0 || content.cy <= 0) return;
  const QTransform& now = painter_.worldTransform();
  if (now.m11() <= 0 || now.m22() <= 0) return;
  const double pageWidth = device->width() / now.m11();
  const double pageHeight = device->height() / now.m22();
  const double factor = std::min({1.0, pageWidth / content.cx, pageHeight / content.cy});
  if (factor < 1.0) painter_.scale(factor, factor);
}

void QtCanvas::Rectangle(const Rect& r, Color fill) {
  if (r.IsEmpty()) return;
  const QColor black(Qt::black);
  painter_.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), black);
  if (r.Width() > 2 && r.Height() > 2) {
    painter_.fillRect(QRect(r.left + 1, r.top + 1, r.Width() - 2, r.Height() - 2), ToQColor(fill));
  }
}

}  // namespace vesk

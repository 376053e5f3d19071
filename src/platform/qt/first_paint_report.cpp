#include "platform/qt/first_paint_report.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/qt_text.h"

namespace vesk {
namespace {

class FirstPaintFilter : public QObject {
 public:
  explicit FirstPaintFilter(QString title) : title_(std::move(title)) {}

  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() != QEvent::Paint || !object->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(object);
    if (widget->isWindow() || widget->window()->windowTitle() != title_) return false;
    QCoreApplication::instance()->removeEventFilter(this);
    // Reported once the paint event has been handled.
    QTimer::singleShot(0, [] {
      std::fputs("veskcal: first paint\n", stderr);
      std::fflush(stderr);
    });
    deleteLater();
    return false;
  }

 private:
  QString title_;
};

}  // namespace

void ReportFirstPaintWhenAsked(std::string_view windowTitle) {
  if (std::getenv("VESKCAL_REPORT_FIRST_PAINT") == nullptr) return;
  QCoreApplication::instance()->installEventFilter(new FirstPaintFilter(ToQString(windowTitle)));
}

}  // namespace vesk

#include "platform/qt/qt_clock.h"

#include <QDateTime>
#include <QThread>

namespace vesk {

std::int64_t QtClock::Now() const { return QDateTime::currentSecsSinceEpoch(); }

std::int64_t QtClock::NowMs() const { return QDateTime::currentMSecsSinceEpoch(); }

void QtClock::Pause(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

}  // namespace vesk

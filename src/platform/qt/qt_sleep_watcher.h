#pragma once
// Hears logind's PrepareForSleep signal on the system bus and reports the
// wake-up (the signal with false). Without a system bus or logind it stays
// silent.
#include <QObject>
#include <functional>

namespace vesk {

class QtSleepWatcher : public QObject {
  Q_OBJECT

 public:
  explicit QtSleepWatcher(std::function<void()> onResume);
  ~QtSleepWatcher() override;

  // Whether the watcher listens on a system bus.
  bool IsListening() const { return listening_; }

 private slots:
  void OnPrepareForSleep(bool sleeping);

 private:
  std::function<void()> onResume_;
  bool listening_ = false;
};

}  // namespace vesk

#pragma once
// The store's whole-file check, run on a thread of its own once the program
// is up, so that a large store opens at once; a failure reaches the user
// interface thread.
#include <QObject>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace vesk {

class StoreCheck {
 public:
  // onFailure runs on the thread that made the object, with the reason.
  StoreCheck(std::filesystem::path file, std::function<void(const std::string&)> onFailure);
  // Stops a check still running and waits for it.
  ~StoreCheck();
  StoreCheck(const StoreCheck&) = delete;
  StoreCheck& operator=(const StoreCheck&) = delete;

  // Starts the check once the event loop has run for delayMs.
  void StartAfter(int delayMs);

 private:
  // On the check's own thread.
  void Run();

  std::filesystem::path file_;
  std::function<void(const std::string&)> onFailure_;
  std::unique_ptr<QObject> receiver_;
  std::atomic<bool> cancel_{false};
  std::thread thread_;
};

}  // namespace vesk

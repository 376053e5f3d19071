#pragma once
// One running copy per user: the first copy listens on a per-user local
// socket; a later copy finds it there, asks it to come forward and ends.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QLocalServer;
class QLocalSocket;

namespace vesk {

enum class InstanceStatus {
  First,           // this copy runs; requests from later copies reach the callback
  AlreadyRunning,  // another copy runs and was asked to show itself
  Failed,          // neither listening nor reaching a running copy worked
};

class InstanceGuard {
 public:
  // base names the program; the user id is added so users do not meet.
  explicit InstanceGuard(std::string_view base = "veskcal");
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // Takes the single-instance place, or asks the copy that holds it to show
  // itself. onShowRequest runs (on the UI thread) for every later copy.
  InstanceStatus Acquire(std::function<void()> onShowRequest);
  // Asks a running copy to show itself, without taking its place; false when
  // none answers.
  bool AskRunningCopy();
  // Why Acquire failed.
  const std::string& error() const { return error_; }
  const std::string& serverName() const { return name_; }

 private:
  void OnNewConnection();
  void ReadRequests(QLocalSocket& socket);

  std::string name_;
  std::string error_;
  std::unique_ptr<QLocalServer> server_;
  std::function<void()> onShowRequest_;
};

}  // namespace vesk

#pragma once
// A message bus of the test's own: a dbus-daemon started for the test
// program, standing in for both the session bus and the system bus.
#include <string>

namespace vesk::test {

class PrivateBus {
 public:
  PrivateBus() = default;
  ~PrivateBus();
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  // Starts the daemon and points DBUS_SESSION_BUS_ADDRESS and
  // DBUS_SYSTEM_BUS_ADDRESS at it; false when it could not be started.
  bool Start();
  const std::string& address() const { return address_; }

 private:
  std::string address_;
  int pid_ = 0;
};

}  // namespace vesk::test

#include "notify/private_bus.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vesk::test {
namespace {

std::string ReadLine(FILE* in) {
  std::string line;
  for (int c = std::fgetc(in); c != EOF && c != '\n'; c = std::fgetc(in)) {
    line.push_back(static_cast<char>(c));
  }
  return line;
}

}  // namespace

PrivateBus::~PrivateBus() {
  if (pid_ > 0) ::kill(pid_, SIGTERM);
}

bool PrivateBus::Start() {
  // The daemon forks into the background and prints its address and pid.
  FILE* out = ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
  if (out == nullptr) return false;
  address_ = ReadLine(out);
  const std::string pid = ReadLine(out);
  ::pclose(out);
  if (address_.empty() || pid.empty()) return false;
  pid_ = std::atoi(pid.c_str());
  ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
  ::setenv("DBUS_SYSTEM_BUS_ADDRESS", address_.c_str(), 1);
  return true;
}

}  // namespace vesk::test

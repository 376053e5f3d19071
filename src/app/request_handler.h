#pragma once
// The running calendar's side of the command line: requests arriving on its
// socket are read off the user-interface thread, carried out on it, and
// their windows, reminders and tooltip updated at once.
#include <functional>
#include <string>
#include <string_view>

namespace vesk {

struct AppContext;

class RequestHandler {
 public:
  // comeForward brings the calendar's window forward for a second start.
  RequestHandler(AppContext& ctx, std::function<void()> comeForward);

  using Finish = std::function<std::string()>;
  using Apply = std::function<Finish()>;
  // Off the user-interface thread: reads the request; Apply runs on it, the
  // Finish it returns off it again and gives the reply's bytes.
  Apply Prepare(std::string payload);
  // The error reply to a request the socket did not take.
  std::string Refuse(std::string_view reason) const;

 private:
  AppContext& ctx_;
  std::function<void()> comeForward_;
};

}  // namespace vesk

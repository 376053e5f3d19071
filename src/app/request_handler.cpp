#include "app/request_handler.h"

#include "interchange/entry_reload.h"
#include "interchange/requests.h"
#include "platform/ui.h"
#include "store/app_context.h"
#include "store/main_window.h"

namespace vesk {

RequestHandler::RequestHandler(AppContext& ctx, std::function<void()> comeForward)
    : ctx_(ctx), comeForward_(std::move(comeForward)) {}

RequestHandler::Apply RequestHandler::Prepare(std::string payload) {
  auto request = ParseRequest(payload);
  if (!request) {
    const std::string reply = Refuse(request.error());
    return [reply] { return [reply] { return reply; }; };
  }
  // The clock is only read here; the rest of the context waits for Apply.
  const LocalTime now = static_cast<LocalTime>(ctx_.clock.Now());
  CalendarStep step = PrepareRequest(*request, now);
  const Command command = request->command;
  return [this, step = std::move(step), command]() -> Finish {
    if (command == Command::Show) comeForward_();
    ReplyStep reply = step(ctx_);
    if (command == Command::ImportRegistry) ReloadEntries(ctx_);
    if (ChangesData(command)) {
      if (ctx_.ui)
        for (Window* w : ctx_.ui->Windows()) w->Invalidate(false);
      if (ctx_.mainWindow) ctx_.mainWindow->RefreshTrayTip();
    }
    return [reply = std::move(reply)] { return EncodeReply(reply()); };
  };
}

std::string RequestHandler::Refuse(std::string_view reason) const {
  return EncodeReply(ErrorReply("the calendar refused the request: " + std::string(reason)));
}

}  // namespace vesk

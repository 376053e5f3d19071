#pragma once
// Carrying out the command line's requests, on the running calendar or on a
// store a command opened itself. A request runs in three steps, so that the
// calendar's window never waits for the slow parts: the first needs no
// calendar (reading a file), the second works on it (on the user-interface
// thread), the third needs it no more (writing the reply).
#include <functional>

#include "calendar/local_time.h"
#include "interchange/protocol.h"

namespace vesk {

struct AppContext;

using ReplyStep = std::function<Reply()>;
using CalendarStep = std::function<ReplyStep(AppContext&)>;

// The first step; progress (may be empty) hears how far a file has been read.
CalendarStep PrepareRequest(const Request& request, LocalTime now,
                            const std::function<void(double)>& progress = {});
// All three steps at once.
Reply RunRequest(AppContext& ctx, const Request& request,
                 const std::function<void(double)>& progress = {});

// Whether the request changes the calendar's data.
bool ChangesData(Command command);

// For a command that opened the store itself: reads the options; the entry
// list reads the months the request looks at when it asks.
void LoadForRequest(AppContext& ctx, const Request& request);

}  // namespace vesk

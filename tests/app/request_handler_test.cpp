// The running calendar's side of the command line on the headless twin: a
// request is read off the user-interface thread, carried out on the calendar,
// and its windows and tooltip follow at once.
#include "app/request_handler.h"

#include "app/app_fixture.h"
#include "interchange/protocol.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

class RequestHandlerTest : public AppTest {
 protected:
  RequestHandlerTest() { MarkNotFirstRun(); }

  // The three steps in a row, as the socket runs them.
  Reply Ask(const std::string& payload) {
    auto reply = ParseReply(handler.Prepare(payload)()());
    EXPECT_TRUE(reply) << reply.error();
    return reply.value_or(Reply{});
  }

  int comeForward = 0;
  RequestHandler handler{app.ctx, [this] { ++comeForward; }};
};

TEST_F(RequestHandlerTest, AnAddedEntryShowsAtOnceInTheMonthAndTheTooltip) {
  Start();
  frame().OnTrayMouseMove();
  const int invalidations = HeadlessUi::Record(frame().view())->invalidations;
  const Reply added = Ask(EncodeRequest({Command::Add, {"2000-03-15 09:00", "Dentist", "30"}}));
  EXPECT_EQ(added.out, "Added 2000-03-15 09:00  Dentist\n");
  EXPECT_GT(HeadlessUi::Record(frame().view())->invalidations, invalidations);
  EXPECT_EQ(frame().tray()->Tip(), "9:00am: Dentist ");
  // The reminder is armed like a typed line's.
  EXPECT_NE(app.ctx.entries.FindAt(2000, 3, 15, 9, 0)->timer, 0);
  EXPECT_EQ(Ask(EncodeRequest({Command::Agenda, {"", "", "0"}})).out,
            "2000-03-15 09:00  Dentist\n");
}

TEST_F(RequestHandlerTest, ASecondStartBringsTheCalendarForward) {
  Start();
  EXPECT_EQ(Ask(EncodeRequest({Command::Show, {}})).status, 0);
  EXPECT_EQ(comeForward, 1);
}

TEST_F(RequestHandlerTest, MalformedRequestsGetAnErrorReplyAndChangeNothing) {
  Start();
  const std::size_t entries = app.ctx.entries.size();
  for (const std::string& bytes : {std::string("GARBAGE"), EncodeRequest({Command::Add, {"x"}}),
                                   EncodeRequest({Command::Next, {"0"}}).substr(0, 9)}) {
    const Reply r = Ask(bytes);
    EXPECT_EQ(r.status, kFailed);
    EXPECT_EQ(r.err.rfind("veskcal: the calendar refused the request: ", 0), 0u) << r.err;
  }
  EXPECT_EQ(app.ctx.entries.size(), entries);
}

}  // namespace
}  // namespace vesk::test

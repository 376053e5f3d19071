#include "interchange/protocol.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(ProtocolTest, RequestsAndRepliesReadBackAsWritten) {
  const Request requests[] = {
      {Command::Show, {}},
      {Command::Agenda, {"2024-06-01", "7", "1"}},
      {Command::Add, {"2024-06-01 09:00", std::string("Zoë\0|\n", 7), ""}},
      {Command::ImportIcs, {"-", std::string(100000, 'x')}},
  };
  for (const Request& r : requests) EXPECT_EQ(ParseRequest(EncodeRequest(r)), r);
  const Reply reply{2, "out\n", "err\n", "BEGIN:VCALENDAR"};
  EXPECT_EQ(ParseReply(EncodeReply(reply)), reply);
}

TEST(ProtocolTest, MalformedRequestsAreRefusedWithTheirReason) {
  const std::string good = EncodeRequest({Command::Next, {"1"}});
  std::string wrongVersion = good;
  wrongVersion[4] = 9;
  std::string unknown = good;
  unknown[5] = 42;
  std::string longField = good;
  longField[10] = 5;  // the field claims more bytes than follow
  const struct {
    std::string bytes;
    std::string reason;
  } rows[] = {
      {"", "the message is too short"},
      {"GET / HTTP/1.1\r\n\r\n", "the message is not ours"},
      {good.substr(0, good.size() - 1), "a field is cut short"},
      {good + "x", "bytes follow the last field"},
      {wrongVersion, "protocol version 9 is not understood"},
      {unknown, "command 42 is unknown"},
      {longField, "a field is cut short"},
      {EncodeRequest({Command::Next, {}}), "the command has 0 arguments instead of 1"},
      {EncodeRequest({Command::Add, {"a", "b", "c", "d"}}),
       "the command has 4 arguments instead of 3"},
  };
  for (const auto& row : rows) {
    auto parsed = ParseRequest(row.bytes);
    ASSERT_FALSE(parsed) << row.reason;
    EXPECT_EQ(parsed.error(), row.reason);
  }
}

}  // namespace
}  // namespace vesk

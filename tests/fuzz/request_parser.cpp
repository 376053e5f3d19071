// The single-instance request parser. Whatever the bytes, ParseRequest refuses
// them with a reason or reads a request that the encoder writes back as the
// very same bytes. A request read is carried out on an empty calendar, as the
// running calendar does (those naming a file to read excepted): its reply
// reads back as written, a failure says why, only a data command that
// succeeded changes the entries, and an entry added is in the agenda.
#include <string>

#include "fuzz/support/fuzz_support.h"
#include "interchange/protocol.h"
#include "interchange/requests.h"
#include "platform/registry_dump.h"
#include "store/registry_store.h"

namespace vesk::fuzz {
namespace {

std::string Entries(Registry& registry) {
  std::string out;
  test::DumpKey(registry, std::string(kAppointmentsKey), out);
  return out;
}

bool NamesFile(Command command) {
  return command == Command::ImportRegistry || command == Command::Restore;
}

void CheckReply(const Reply& reply, std::string_view what) {
  if (reply.status != 0 && reply.status != kFailed && reply.status != kRefused)
    Fail("a reply ends with a status of its own", std::to_string(reply.status));
  if (reply.status != 0 && reply.err.empty()) Fail("a failed request says nothing", what);
  auto read = ParseReply(EncodeReply(reply));
  if (!read || *read != reply) Fail("a reply does not read back as written", what);
}

}  // namespace
}  // namespace vesk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vesk;
  using namespace vesk::fuzz;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  auto request = ParseRequest(bytes);
  if (!request) {
    if (request.error().empty()) Fail("a refused request says nothing", "");
    return 0;
  }
  if (EncodeRequest(*request) != bytes) Fail("a request does not encode as it was read", "");
  if (NamesFile(request->command)) return 0;

  FuzzApp app;
  const Reply reply = RunRequest(app.ctx, *request);
  CheckReply(reply, reply.err);
  const std::string entries = Entries(app.registry);
  if ((reply.status != 0 || !ChangesData(request->command)) && !entries.empty())
    Fail("a request changed the entries without doing so", reply.out + reply.err + entries);

  if (request->command == Command::Add && reply.status == 0) {
    // "Added YYYY-MM-DD HH:MM  text": the day's agenda shows that line.
    constexpr std::string_view kAdded = "Added ";
    if (!reply.out.starts_with(kAdded)) Fail("an add answers otherwise", reply.out);
    const std::string line = reply.out.substr(kAdded.size());
    const Reply agenda = RunRequest(app.ctx, {Command::Agenda, {line.substr(0, 10), "1", "0"}});
    CheckReply(agenda, line);
    if (agenda.out.find(line) == std::string::npos)
      Fail("an entry added is not in the agenda", line + "---\n" + agenda.out);
  }
  return 0;
}

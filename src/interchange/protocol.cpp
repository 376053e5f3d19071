#include "interchange/protocol.h"

namespace vesk {
namespace {

constexpr std::string_view kMagic = "VKCL";
constexpr std::size_t kHeaderSize = 7;  // magic, version, kind, field count
constexpr int kReplyFields = 3;

void PutLength(std::string& out, std::size_t n) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(static_cast<std::uint32_t>(n) >> (8 * i));
}

std::string Encode(std::uint8_t kind, const std::vector<std::string_view>& fields) {
  std::string out(kMagic);
  out += static_cast<char>(kProtocolVersion);
  out += static_cast<char>(kind);
  out += static_cast<char>(fields.size());
  for (std::string_view f : fields) {
    PutLength(out, f.size());
    out.append(f);
  }
  return out;
}

struct Message {
  std::uint8_t kind = 0;
  std::vector<std::string> fields;
};

// Splits a message into its kind and fields, checking every length.
std::expected<Message, std::string> Decode(std::string_view bytes) {
  if (bytes.size() < kHeaderSize) return std::unexpected("the message is too short");
  if (bytes.substr(0, kMagic.size()) != kMagic) return std::unexpected("the message is not ours");
  if (static_cast<std::uint8_t>(bytes[4]) != kProtocolVersion)
    return std::unexpected("protocol version " +
                           std::to_string(static_cast<std::uint8_t>(bytes[4])) +
                           " is not understood");
  Message m;
  m.kind = static_cast<std::uint8_t>(bytes[5]);
  const std::size_t count = static_cast<std::uint8_t>(bytes[6]);
  bytes.remove_prefix(kHeaderSize);
  for (std::size_t i = 0; i < count; ++i) {
    if (bytes.size() < 4) return std::unexpected("a field is cut short");
    std::size_t n = 0;
    for (int b = 0; b < 4; ++b)
      n |= static_cast<std::size_t>(static_cast<std::uint8_t>(bytes[b])) << (8 * b);
    bytes.remove_prefix(4);
    if (n > bytes.size()) return std::unexpected("a field is cut short");
    m.fields.emplace_back(bytes.substr(0, n));
    bytes.remove_prefix(n);
  }
  if (!bytes.empty()) return std::unexpected("bytes follow the last field");
  return m;
}

}  // namespace

int ArgumentCount(std::uint8_t command) {
  switch (static_cast<Command>(command)) {
    case Command::Show:
      return 0;
    case Command::Next:
    case Command::ExportIcs:
    case Command::ImportRegistry:
    case Command::Restore:
      return 1;
    case Command::ImportIcs:
      return 2;
    case Command::Agenda:
    case Command::Add:
      return 3;
  }
  return -1;
}

std::string EncodeRequest(const Request& request) {
  return Encode(static_cast<std::uint8_t>(request.command),
                std::vector<std::string_view>(request.args.begin(), request.args.end()));
}

std::expected<Request, std::string> ParseRequest(std::string_view bytes) {
  auto m = Decode(bytes);
  if (!m) return std::unexpected(m.error());
  const int expected = ArgumentCount(m->kind);
  if (expected < 0) return std::unexpected("command " + std::to_string(m->kind) + " is unknown");
  if (m->fields.size() != static_cast<std::size_t>(expected))
    return std::unexpected("the command has " + std::to_string(m->fields.size()) +
                           " arguments instead of " + std::to_string(expected));
  return Request{static_cast<Command>(m->kind), std::move(m->fields)};
}

std::string EncodeReply(const Reply& reply) {
  return Encode(static_cast<std::uint8_t>(reply.status), {reply.out, reply.err, reply.document});
}

std::expected<Reply, std::string> ParseReply(std::string_view bytes) {
  auto m = Decode(bytes);
  if (!m) return std::unexpected(m.error());
  if (m->fields.size() != kReplyFields) return std::unexpected("the reply has the wrong fields");
  return Reply{m->kind, std::move(m->fields[0]), std::move(m->fields[1]), std::move(m->fields[2])};
}

Reply ErrorReply(std::string_view message, int status) {
  return Reply{status, {}, "veskcal: " + std::string(message) + "\n", {}};
}

}  // namespace vesk

#pragma once
// The requests a command sends to a running calendar and the replies it gets,
// as bytes. A message is "VKCL", the protocol version, one kind byte (the
// command, or the reply's exit status), a field count and the fields, each a
// 32-bit little-endian length and its bytes. Anything else is malformed.
#include <cstddef>
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

inline constexpr std::uint8_t kProtocolVersion = 1;
// A request holds at most one file; bigger files are refused, not cut.
inline constexpr std::size_t kMaxRequestBytes = 64u << 20;
inline constexpr std::size_t kMaxReplyBytes = 512u << 20;

enum class Command : std::uint8_t {
  Show = 1,        // bring the calendar forward
  Agenda,          // date ("" for today), days ("" for 1), json ("1" or "0")
  Next,            // json
  Add,             // "YYYY-MM-DD HH:MM", text, reminder minutes ("" for the default)
  ImportIcs,       // the file's name as given, its content
  ExportIcs,       // "1" when the calendar goes to standard output
  ImportRegistry,  // absolute path of the REGEDIT4 file
  Restore,         // absolute path of the backup file
};

struct Request {
  Command command = Command::Show;
  std::vector<std::string> args;
  bool operator==(const Request&) const = default;
};

// What the command prints and how it ends.
struct Reply {
  int status = 0;        // the command's exit status
  std::string out;       // for standard output
  std::string err;       // for standard error
  std::string document;  // an exported file, written by the command
  bool operator==(const Reply&) const = default;
};

// Exit statuses: 1 when something failed, 2 when the request was refused.
inline constexpr int kFailed = 1;
inline constexpr int kRefused = 2;

// How many arguments a command carries; -1 for a byte that is no command.
int ArgumentCount(std::uint8_t command);

std::string EncodeRequest(const Request& request);
// Reads a whole request; the error says what is wrong with the bytes.
std::expected<Request, std::string> ParseRequest(std::string_view bytes);

std::string EncodeReply(const Reply& reply);
std::expected<Reply, std::string> ParseReply(std::string_view bytes);

// A failure reply with one line on standard error.
Reply ErrorReply(std::string_view message, int status = kFailed);

}  // namespace vesk

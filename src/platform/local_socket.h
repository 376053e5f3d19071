#pragma once
// The calendar's per-user local socket, seen from a client: where it lives
// for a data directory, and one request answered by one reply. A message on
// the socket is a frame: its payload's length as a 32-bit little-endian
// number, then the payload. What a payload means is decided above.
#include <cstddef>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

namespace vesk {

inline constexpr std::size_t kFrameHeaderSize = 4;

// The header and payload of one frame.
std::string Frame(std::string_view payload);
// The payload length a frame header announces.
std::uint32_t FrameLength(const unsigned char* header);

// The socket of the calendar that runs on dataDir: in $XDG_RUNTIME_DIR (else
// /tmp), named after the user and the directory, so a second profile
// (VESKCAL_HOME) has a calendar of its own.
std::filesystem::path InstanceSocketPath(const std::filesystem::path& dataDir);

struct SocketFailure {
  bool noServer = false;  // nothing listens there: no calendar runs
  std::string message;
};

struct SocketTimeouts {
  int sendMs = 5000;     // to connect and hand the whole request over
  int replyMs = 600000;  // for the reply, which a big import takes a while to give
};

// Sends one request and returns the reply's payload. The server must run as
// this user; a reply longer than maxReply is refused.
std::expected<std::string, SocketFailure> SendRequest(const std::filesystem::path& socket,
                                                      std::string_view payload,
                                                      std::size_t maxReply,
                                                      SocketTimeouts timeouts = {});

}  // namespace vesk

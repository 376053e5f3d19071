#include "platform/local_socket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/unique_fd.h"

namespace vesk {
namespace {

using Clock = std::chrono::steady_clock;

std::unexpected<SocketFailure> Fail(std::string message, bool noServer = false) {
  return std::unexpected(SocketFailure{noServer, std::move(message)});
}

std::string ErrnoText() { return std::strerror(errno); }

// Waits until fd is ready for events or the deadline passes.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int r = ::poll(&p, 1, static_cast<int>(left));
    if (r > 0) return true;
    if (r < 0 && errno != EINTR) return false;
  }
}

bool SendAll(int fd, std::string_view bytes, Clock::time_point deadline) {
  while (!bytes.empty()) {
    if (!WaitFor(fd, POLLOUT, deadline)) return false;
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Reads exactly size bytes; false on the end of the stream, an error or the deadline.
bool ReceiveAll(int fd, char* out, std::size_t size, Clock::time_point deadline) {
  while (size > 0) {
    if (!WaitFor(fd, POLLIN, deadline)) return false;
    const ssize_t n = ::recv(fd, out, size, MSG_DONTWAIT);
    if (n == 0) return false;
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return false;
    }
    out += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::uint64_t Fnv1a(std::string_view text) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
  return h;
}

}  // namespace

std::string Frame(std::string_view payload) {
  std::string out(kFrameHeaderSize, '\0');
  const auto n = static_cast<std::uint32_t>(payload.size());
  for (std::size_t i = 0; i < kFrameHeaderSize; ++i) out[i] = static_cast<char>(n >> (8 * i));
  out.append(payload);
  return out;
}

std::uint32_t FrameLength(const unsigned char* header) {
  return static_cast<std::uint32_t>(header[0]) | static_cast<std::uint32_t>(header[1]) << 8 |
         static_cast<std::uint32_t>(header[2]) << 16 | static_cast<std::uint32_t>(header[3]) << 24;
}

std::filesystem::path InstanceSocketPath(const std::filesystem::path& dataDir) {
  std::filesystem::path base = "/tmp";
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
    const std::filesystem::path dir = runtime;
    std::error_code ec;
    if (dir.is_absolute() && std::filesystem::is_directory(dir, ec)) base = dir;
  }
  const std::string key = std::filesystem::absolute(dataDir).lexically_normal().string();
  char name[64];
  std::snprintf(name, sizeof name, "veskcal-%u-%016llx", static_cast<unsigned>(::getuid()),
                static_cast<unsigned long long>(Fnv1a(key)));
  return base / name;
}

std::expected<std::string, SocketFailure> SendRequest(const std::filesystem::path& socketPath,
                                                      std::string_view payload,
                                                      std::size_t maxReply,
                                                      SocketTimeouts timeouts) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = socketPath.string();
  if (path.size() >= sizeof address.sun_path) return Fail("the socket path is too long: " + path);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (fd.get() < 0) return Fail("cannot make a socket: " + ErrnoText());
  if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const bool none = errno == ENOENT || errno == ECONNREFUSED;
    return Fail("cannot reach the calendar at " + path + ": " + ErrnoText(), none);
  }
  // Whoever answers must be this user: the socket may stand in a shared /tmp.
  ucred peer{};
  socklen_t size = sizeof peer;
  if (::getsockopt(fd.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
      peer.uid != ::getuid()) {
    return Fail("the socket " + path + " belongs to another user");
  }

  const auto sendDeadline = Clock::now() + std::chrono::milliseconds(timeouts.sendMs);
  if (!SendAll(fd.get(), Frame(payload), sendDeadline))
    return Fail("the calendar did not take the request: " + ErrnoText());
  const auto replyDeadline = Clock::now() + std::chrono::milliseconds(timeouts.replyMs);
  unsigned char header[kFrameHeaderSize];
  if (!ReceiveAll(fd.get(), reinterpret_cast<char*>(header), sizeof header, replyDeadline))
    return Fail("the calendar did not answer");
  const std::uint32_t length = FrameLength(header);
  if (length > maxReply) return Fail("the calendar's answer is too long");
  std::string reply(length, '\0');
  if (!ReceiveAll(fd.get(), reply.data(), length, replyDeadline))
    return Fail("the calendar's answer was cut short");
  return reply;
}

}  // namespace vesk

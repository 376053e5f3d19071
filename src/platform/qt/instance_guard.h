#pragma once
// The running calendar's per-user local socket. Later copies of the program
// and the command line send it requests; each connection carries one framed
// request (local_socket.h) and gets one framed reply. The socket takes only
// its own user, bounds every request and gives up on a client that does not
// finish in time; what a request means is decided above.
#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QLocalServer;
class QLocalSocket;
class QObject;
class QThreadPool;

namespace vesk {

struct RequestLimits {
  std::size_t maxRequest = 1 << 20;  // payload bytes
  int deadlineMs = 10000;            // for the whole request to arrive
  uid_t user;                        // the only user served; this process's by default
  RequestLimits();
};

class InstanceGuard {
 public:
  // A request is answered in three steps, so the window never waits on the
  // slow ones: Prepare runs on a worker thread with the request's bytes, the
  // Apply it returns on the user-interface thread, the Finish that returns
  // on a worker again; Finish gives the reply's bytes.
  using Finish = std::function<std::string()>;
  using Apply = std::function<Finish()>;
  using Prepare = std::function<Apply(std::string payload)>;
  // The reply to a request that was not taken, with the reason.
  using Refuse = std::function<std::string(std::string_view reason)>;

  explicit InstanceGuard(std::filesystem::path socket, RequestLimits limits = {});
  // Waits for requests still being worked on.
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // Listens on the socket (replacing a stale one); false when it cannot.
  bool Listen(Prepare prepare, Refuse refuse);
  const std::string& error() const { return error_; }
  const std::filesystem::path& socket() const { return path_; }

 private:
  void OnNewConnection();
  void Read(QLocalSocket* socket);
  void Answer(QLocalSocket* socket, const std::string& payload);
  void Start(QLocalSocket* socket, std::string payload);

  std::filesystem::path path_;
  RequestLimits limits_;
  std::string error_;
  Prepare prepare_;
  Refuse refuse_;
  std::unique_ptr<QThreadPool> pool_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace vesk

// The single-instance socket: one request, one reply, in three steps; only
// this user; every request bounded; a client that never finishes timed out.
#include "platform/qt/instance_guard.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QThread>
#include <cstring>
#include <future>

#include "backend_fixture.h"
#include "platform/local_socket.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

// A raw client: connects, sends bytes, and reads whatever comes back until
// the server closes the connection.
class RawClient {
 public:
  explicit RawClient(const std::filesystem::path& socket) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawClient() { ::close(fd_); }
  bool connected() const { return connected_; }
  void Send(const std::string& bytes) { (void)!::write(fd_, bytes.data(), bytes.size()); }
  // Everything up to the close, read on another thread while Qt runs here.
  std::future<std::string> ReadAll() {
    return std::async(std::launch::async, [fd = fd_] {
      std::string got;
      char buf[4096];
      ssize_t n;
      while ((n = ::read(fd, buf, sizeof buf)) > 0) got.append(buf, static_cast<std::size_t>(n));
      return got;
    });
  }

 private:
  int fd_;
  bool connected_ = false;
};

class InstanceGuardTest : public ::testing::Test {
 protected:
  InstanceGuardTest() : path(std::filesystem::path(dir.path()) / "calendar.sock") {
    limits.maxRequest = 64;
    limits.deadlineMs = 300;
  }

  bool Listen(InstanceGuard& guard) {
    return guard.Listen(
        [this](std::string payload) -> InstanceGuard::Apply {
          preparedOn = QThread::currentThread();
          return [this, payload]() -> InstanceGuard::Finish {
            appliedOn = QThread::currentThread();
            applied.push_back(payload);
            return [payload] { return "reply to " + payload; };
          };
        },
        [](std::string_view reason) { return "refused: " + std::string(reason); });
  }

  // Sends bytes and returns what came back, running the event loop meanwhile.
  std::string Exchange(const std::string& bytes) {
    RawClient client(path);
    EXPECT_TRUE(client.connected());
    client.Send(bytes);
    auto reply = client.ReadAll();
    EXPECT_TRUE(RunUntil(
        [&] { return reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    return reply.get();
  }

  TempDir dir;
  std::filesystem::path path;
  RequestLimits limits;
  QThread* preparedOn = nullptr;
  QThread* appliedOn = nullptr;
  std::vector<std::string> applied;
};

TEST_F(InstanceGuardTest, ARequestIsReadOffTheUiThreadAndAppliedOnIt) {
  InstanceGuard guard(path, limits);
  ASSERT_TRUE(Listen(guard)) << guard.error();
  auto reply = std::async(std::launch::async, [&] { return SendRequest(path, "agenda", 1000); });
  ASSERT_TRUE(RunUntil(
      [&] { return reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
  const auto got = reply.get();
  ASSERT_TRUE(got) << got.error().message;
  EXPECT_EQ(*got, "reply to agenda");
  EXPECT_EQ(appliedOn, QThread::currentThread());
  EXPECT_NE(preparedOn, QThread::currentThread());
}

TEST_F(InstanceGuardTest, OversizeTruncatedAndSilentRequestsGetARefusalAndTheGuardGoesOn) {
  InstanceGuard guard(path, limits);
  ASSERT_TRUE(Listen(guard)) << guard.error();
  EXPECT_EQ(Exchange(Frame(std::string(65, 'x'))),
            Frame("refused: the request is larger than 64 bytes"));
  EXPECT_EQ(Exchange(Frame("twelve bytes").substr(0, 9)),
            Frame("refused: the request did not arrive in time"));
  EXPECT_EQ(Exchange(""), Frame("refused: the request did not arrive in time"));
  EXPECT_EQ(Exchange(Frame("one") + "and more"), Frame("refused: bytes follow the request"));
  // A client that never speaks holds nobody else up.
  RawClient silent(path);
  ASSERT_TRUE(silent.connected());
  EXPECT_EQ(Exchange(Frame("next")), Frame("reply to next"));
  EXPECT_EQ(applied, std::vector<std::string>{"next"});
}

TEST_F(InstanceGuardTest, OnlyItsOwnUserIsServed) {
  limits.user = ::getuid() + 1;
  InstanceGuard guard(path, limits);
  ASSERT_TRUE(Listen(guard));
  EXPECT_EQ(Exchange(Frame("next")), Frame("refused: the calendar belongs to another user"));
  EXPECT_TRUE(applied.empty());
}

TEST_F(InstanceGuardTest, AStaleSocketFileDoesNotStopTheNextCalendar) {
  {
    InstanceGuard crashed(path, limits);
    ASSERT_TRUE(Listen(crashed));
  }
  // A socket file nobody answers on, as a killed calendar leaves it.
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  EXPECT_TRUE(SendRequest(path, "x", 10).error().noServer);
  InstanceGuard next(path, limits);
  EXPECT_TRUE(Listen(next)) << next.error();
}

}  // namespace
}  // namespace vesk::test

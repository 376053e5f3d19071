#include "platform/qt/instance_guard.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>

#include "platform/qt/qt_text.h"

namespace vesk {
namespace {

constexpr const char* kShowRequest = "show\n";
constexpr int kConnectTimeoutMs = 1000;

}  // namespace

InstanceGuard::InstanceGuard(std::string_view base)
    : name_(std::string(base) + "-" + std::to_string(::getuid())) {}

InstanceGuard::~InstanceGuard() = default;

InstanceStatus InstanceGuard::Acquire(std::function<void()> onShowRequest) {
  if (AskRunningCopy()) return InstanceStatus::AlreadyRunning;
  // Nobody answered: a socket file left by a copy that crashed is stale.
  QLocalServer::removeServer(ToQString(name_));
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(ToQString(name_))) {
    error_ = "Cannot listen on " + name_ + ": " + ToStdString(server_->errorString());
    server_.reset();
    return InstanceStatus::Failed;
  }
  onShowRequest_ = std::move(onShowRequest);
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                   [this] { OnNewConnection(); });
  return InstanceStatus::First;
}

bool InstanceGuard::AskRunningCopy() {
  QLocalSocket socket;
  socket.connectToServer(ToQString(name_));
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(kShowRequest);
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

void InstanceGuard::OnNewConnection() {
  // The sockets are children of the server and go with it.
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket,
                     [this, socket] { ReadRequests(*socket); });
    ReadRequests(*socket);
  }
}

void InstanceGuard::ReadRequests(QLocalSocket& socket) {
  while (socket.canReadLine()) {
    if (socket.readLine() == kShowRequest && onShowRequest_) onShowRequest_();
  }
}

}  // namespace vesk

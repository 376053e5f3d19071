#include "platform/qt/instance_guard.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QVariant>

#include "platform/local_socket.h"
#include "platform/qt/qt_text.h"

namespace vesk {
namespace {

// What one connection has received so far; a property of its socket.
constexpr const char* kBuffer = "veskcalRequest";

bool FromUser(QLocalSocket& socket, uid_t user) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                      &size) == 0 &&
         peer.uid == user;
}

}  // namespace

RequestLimits::RequestLimits() : user(::getuid()) {}

InstanceGuard::InstanceGuard(std::filesystem::path socket, RequestLimits limits)
    : path_(std::move(socket)), limits_(limits), pool_(std::make_unique<QThreadPool>()) {}

InstanceGuard::~InstanceGuard() {
  // Work still running would post to a server that is gone: the posts are
  // dropped with it, the work is waited for.
  pool_->waitForDone();
  server_.reset();
}

bool InstanceGuard::Listen(Prepare prepare, Refuse refuse) {
  prepare_ = std::move(prepare);
  refuse_ = std::move(refuse);
  // Nobody answers there (the caller asked): a socket file left by a copy
  // that crashed is stale.
  QLocalServer::removeServer(ToQString(path_.string()));
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(ToQString(path_.string()))) {
    error_ = "Cannot listen on " + path_.string() + ": " + ToStdString(server_->errorString());
    server_.reset();
    return false;
  }
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                   [this] { OnNewConnection(); });
  return true;
}

void InstanceGuard::OnNewConnection() {
  // The sockets are children of the server and go with it.
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (!FromUser(*socket, limits_.user)) {
      Answer(socket, refuse_("the calendar belongs to another user"));
      continue;
    }
    socket->setProperty(kBuffer, QByteArray());
    // Qt reads no more ahead than a request can hold.
    socket->setReadBufferSize(static_cast<qint64>(limits_.maxRequest + kFrameHeaderSize + 1));
    auto* deadline = new QTimer(socket);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, socket, [this, socket] {
      Answer(socket, refuse_("the request did not arrive in time"));
    });
    deadline->start(limits_.deadlineMs);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Read(socket); });
    Read(socket);
  }
}

void InstanceGuard::Read(QLocalSocket* socket) {
  QVariant held = socket->property(kBuffer);
  if (!held.isValid()) {
    // Answered or at work: anything more is not read.
    socket->readAll();
    return;
  }
  QByteArray buffer = held.toByteArray();
  // One byte past the largest request tells that more follows.
  const qint64 room =
      static_cast<qint64>(limits_.maxRequest + kFrameHeaderSize + 1) - buffer.size();
  buffer += socket->read(room);
  if (static_cast<std::size_t>(buffer.size()) >= kFrameHeaderSize) {
    const std::uint32_t length =
        FrameLength(reinterpret_cast<const unsigned char*>(buffer.constData()));
    if (length > limits_.maxRequest) {
      Answer(socket, refuse_("the request is larger than " + std::to_string(limits_.maxRequest) +
                             " bytes"));
      return;
    }
    const std::size_t whole = kFrameHeaderSize + length;
    if (static_cast<std::size_t>(buffer.size()) > whole) {
      Answer(socket, refuse_("bytes follow the request"));
      return;
    }
    if (static_cast<std::size_t>(buffer.size()) == whole) {
      Start(socket, buffer.mid(kFrameHeaderSize).toStdString());
      return;
    }
  }
  socket->setProperty(kBuffer, buffer);
}

void InstanceGuard::Answer(QLocalSocket* socket, const std::string& payload) {
  socket->setProperty(kBuffer, QVariant());
  for (QTimer* t : socket->findChildren<QTimer*>()) t->stop();
  const std::string frame = Frame(payload);
  socket->write(frame.data(), static_cast<qint64>(frame.size()));
  // Leaves once everything is written.
  socket->disconnectFromServer();
}

void InstanceGuard::Start(QLocalSocket* socket, std::string payload) {
  socket->setProperty(kBuffer, QVariant());
  for (QTimer* t : socket->findChildren<QTimer*>()) t->stop();
  QPointer<QLocalSocket> target(socket);
  QObject* home = server_.get();
  pool_->start([this, home, target, payload = std::move(payload)]() mutable {
    Apply apply = prepare_(std::move(payload));
    QMetaObject::invokeMethod(
        home,
        [this, home, target, apply] {
          Finish finish = apply();
          pool_->start([this, home, target, finish] {
            std::string reply = finish();
            QMetaObject::invokeMethod(
                home,
                [this, target, reply = std::move(reply)] {
                  if (target) Answer(target.data(), reply);
                },
                Qt::QueuedConnection);
          });
        },
        Qt::QueuedConnection);
  });
}

}  // namespace vesk

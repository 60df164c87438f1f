#include "platform/system/Single_Instance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QTimer>
#include <cstdlib>
#include <map>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace sys {

const std::vector<std::string> Program_Window_Classes = {"TForm_Lumbra", "TForm_KardunGAS",
                                                         "TForm_Brondale", "TForm_Perlox"};

Single_Instance_State Single_Instance;

namespace {

const QByteArray Close_Request = "close\n";
constexpr int Connect_Wait_Ms = 500;
constexpr int Retry_Interval_Ms = 250;

// One announced window class: its server and, while the name is still held by a copy that
// is closing, the timer that retries.
struct Announcement {
  std::unique_ptr<QLocalServer> Server;
  std::unique_ptr<QTimer> Retry;
  std::function<void()> On_Close;
};

std::map<std::string, std::unique_ptr<Announcement>>& Announcements() {
  static std::map<std::string, std::unique_ptr<Announcement>> table;
  return table;
}

// The peer must be a process of the same user: the names live in a namespace every
// local user can reach.
bool Peer_Is_Same_User(QLocalSocket* socket) {
  ucred peer {};
  socklen_t length = sizeof peer;
  if (::getsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED,
                   &peer, &length) != 0)
    return false;
  return peer.uid == ::getuid();
}

void Serve_Connection(Announcement* owner, QLocalSocket* socket) {
  QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  if (!Peer_Is_Same_User(socket)) {
    socket->abort();
    return;
  }
  QObject::connect(socket, &QLocalSocket::readyRead, socket, [owner, socket] {
    if (socket->bytesAvailable() < Close_Request.size()) return;
    const QByteArray request = socket->read(Close_Request.size());
    socket->disconnectFromServer();
    // Run the request from the event loop: closing may withdraw this very announcement,
    // and with it the server that owns this socket.
    if (request == Close_Request && owner->On_Close)
      QTimer::singleShot(0, [on_close = owner->On_Close] { on_close(); });
  });
}

bool Try_Listen(const std::string& window_class, Announcement* owner) {
  owner->Server = std::make_unique<QLocalServer>();
  owner->Server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
  if (!owner->Server->listen(QString::fromStdString(Window_Class_Socket_Name(window_class)))) {
    owner->Server.reset();
    return false;
  }
  QLocalServer* server = owner->Server.get();
  QObject::connect(server, &QLocalServer::newConnection, server, [owner, server] {
    while (QLocalSocket* socket = server->nextPendingConnection()) Serve_Connection(owner, socket);
  });
  return true;
}

std::unique_ptr<QLocalSocket> Connect_To(const std::string& window_class) {
  auto socket = std::make_unique<QLocalSocket>();
  socket->setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  socket->connectToServer(QString::fromStdString(Window_Class_Socket_Name(window_class)));
  if (!socket->waitForConnected(Connect_Wait_Ms)) return nullptr;
  return socket;
}

}  // namespace

std::string Desktop_Name() {
  // A Wayland session names its display in WAYLAND_DISPLAY; X names it in DISPLAY as
  // [host]:display[.screen]. The screen is part of the same desktop, so it is dropped.
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* x_display = std::getenv("DISPLAY");
  std::string name;
  if (wayland && *wayland) {
    name = std::string("wayland-") + wayland;
  } else if (x_display && *x_display) {
    name = x_display;
    const auto colon = name.rfind(':');
    const auto screen = name.find('.', colon == std::string::npos ? 0 : colon);
    if (colon != std::string::npos && screen != std::string::npos) name.erase(screen);
  }
  // Only characters that read plainly in a socket name.
  for (char& c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == ':' || c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  return name;
}

std::string Window_Class_Socket_Name(const std::string& window_class) {
  return window_class + ".uid" + std::to_string(::getuid()) + ".desktop" + Desktop_Name() +
         Single_Instance.Name_Suffix;
}

bool Window_Class_Running(const std::string& window_class) {
  auto socket = Connect_To(window_class);
  if (!socket) return false;
  socket->abort();
  return true;
}

std::string Close_Running_Program(const std::vector<std::string>& classes) {
  std::string last;
  for (const auto& window_class : classes) {
    // A window announced by this very process is not another running copy.
    if (Window_Class_Announced(window_class)) continue;
    if (Window_Class_Running(window_class)) last = window_class;
  }
  if (last.empty()) return last;
  auto socket = Connect_To(last);
  if (!socket) return {};  // gone in the meantime: nothing left to close
  socket->write(Close_Request);
  socket->waitForBytesWritten(Connect_Wait_Ms);
  socket->disconnectFromServer();
  if (socket->state() != QLocalSocket::UnconnectedState)
    socket->waitForDisconnected(Connect_Wait_Ms);
  return last;
}

void Announce_Window_Class(const std::string& window_class, std::function<void()> on_close) {
  Withdraw_Window_Class(window_class);
  auto owner = std::make_unique<Announcement>();
  owner->On_Close = std::move(on_close);
  Announcement* raw = owner.get();
  Announcements()[window_class] = std::move(owner);
  if (Try_Listen(window_class, raw)) return;
  // The name is still held (a copy asked to close has not gone yet): try again later.
  raw->Retry = std::make_unique<QTimer>();
  raw->Retry->setInterval(Retry_Interval_Ms);
  QObject::connect(raw->Retry.get(), &QTimer::timeout, raw->Retry.get(), [window_class, raw] {
    if (Try_Listen(window_class, raw)) raw->Retry->stop();
  });
  raw->Retry->start();
}

bool Window_Class_Announced(const std::string& window_class) {
  const auto found = Announcements().find(window_class);
  return found != Announcements().end() && found->second->Server &&
         found->second->Server->isListening();
}

void Withdraw_Window_Class(const std::string& window_class) {
  Announcements().erase(window_class);
}

void Reset_Single_Instance() {
  Announcements().clear();
  Single_Instance = Single_Instance_State{};
}

}  // namespace sys

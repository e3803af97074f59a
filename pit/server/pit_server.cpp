#include "pit/server/pit_server.h"

#include <QAbstractHttpServer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <memory>
#include <string_view>

namespace korimet::pit {

namespace {

// Whatever the page or a script may ask for: nothing reaches out and nothing is cached, so
// a phone that wakes reads the state again.
constexpr const char* kSecurityPolicy =
    "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
    "connect-src 'self'; img-src 'self' data:; base-uri 'none'; form-action 'none'";

const char* reasonOf(int status) {
    switch (status) {
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 413:
            return "Content Too Large";
        case 414:
            return "URI Too Long";
        case 429:
            return "Too Many Requests";
        case 431:
            return "Request Header Fields Too Large";
        default:
            return "Bad Request";
    }
}

// Answers with the 4xx and closes; a client that does not read its answer is cut off soon.
void refuse(QTcpSocket* socket, int status) {
    if (socket->property("korimetRefused").toBool()) return;
    socket->setProperty("korimetRefused", true);
    const QByteArray reason = reasonOf(status);
    const QByteArray body = reason + "\n";
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\n";
    answer += "Content-Type: text/plain; charset=utf-8\r\nContent-Length: " +
              QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    socket->write(answer);
    socket->disconnectFromHost();
    QTimer::singleShot(1000, socket, [socket] { socket->abort(); });
}

// Counts and judges connections before the HTTP server takes them.
class GuardedTcpServer : public QTcpServer {
  public:
    GuardedTcpServer(QString code, PitLimits limits, QObject* parent)
        : QTcpServer(parent), code_(code.toStdString()), limits_(limits) {}

  protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            socket->deleteLater();
            return;
        }
        if (open_ >= limits_.maxConnections) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            refuse(socket, 429);
            return;
        }
        ++open_;
        connect(socket, &QObject::destroyed, this, [this] { --open_; });

        auto scanner = std::make_shared<RequestScanner>(code_, limits_);
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        // A head sent slowly runs out of time however often bytes trickle in.
        connect(deadline, &QTimer::timeout, socket, [socket, scanner] {
            if (scanner->upgraded()) return;
            if (scanner->midRequest()) {
                refuse(socket, 408);
            } else {
                socket->disconnectFromHost();
                QTimer::singleShot(1000, socket, [socket] { socket->abort(); });
            }
        });
        deadline->start(limits_.headMilliseconds);
        // Connected before the HTTP server's own slot, so it runs first and can take the bytes
        // away from it.
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, scanner, deadline] {
            if (scanner->upgraded()) return;
            const int before = scanner->headsPassed();
            const QByteArray bytes = socket->peek(socket->bytesAvailable());
            const int status = scanner->take(std::string_view(bytes.constData(), bytes.size()));
            if (status != 0) {
                socket->readAll();
                refuse(socket, status);
                return;
            }
            if (scanner->upgraded()) {
                deadline->stop();
            } else if (scanner->headsPassed() != before) {
                deadline->start(limits_.headMilliseconds);
            }
        });
        addPendingConnection(socket);
    }

  private:
    std::string code_;
    PitLimits limits_;
    int open_ = 0;
};

// The HTTP server's own routing would answer the live connection's upgrade itself; here a
// request the scanner passed is one of three exact paths, and the live one is left alone.
class PitHttp : public QAbstractHttpServer {
  public:
    PitHttp(const QByteArray& page, const QByteArray& state, QObject* parent)
        : QAbstractHttpServer(parent), page_(page), state_(state) {}

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override {
        const QString path = request.url().path();
        if (path == QLatin1String("/live")) return true;
        QByteArray type;
        QByteArray body;
        if (path == QLatin1String("/")) {
            type = "text/html; charset=utf-8";
            body = page_;
        } else if (path == QLatin1String("/state.json")) {
            type = "application/json";
            body = state_;
        } else {
            return false;
        }
        makeResponder(request, socket)
            .write(body,
                   {{"Content-Type", type},
                    {"Cache-Control", "no-store"},
                    {"X-Content-Type-Options", "nosniff"},
                    {"Referrer-Policy", "no-referrer"},
                    {"Content-Security-Policy", kSecurityPolicy}},
                   QHttpServerResponder::StatusCode::Ok);
        return true;
    }
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override {
        makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
    }

  private:
    const QByteArray& page_;
    const QByteArray& state_;
};

}  // namespace

PitServer::PitServer(QString accessCode, PitLimits limits, QObject* parent)
    : QObject(parent),
      accessCode_(std::move(accessCode)),
      limits_(limits),
      state_("{}"),
      http_(nullptr),
      beat_(new QTimer(this)) {
    QFile page(QStringLiteral(":/pit/index.html"));
    if (page.open(QIODevice::ReadOnly)) page_ = page.readAll();
    http_ = new PitHttp(page_, state_, this);
    connect(http_, &QAbstractHttpServer::newWebSocketConnection, this, &PitServer::takeWebSockets);
    beat_->setInterval(kBeatMilliseconds);
    connect(beat_, &QTimer::timeout, this, [this] {
        for (QWebSocket* socket : live_) socket->sendTextMessage(QString());
    });
}

PitServer::~PitServer() = default;

quint16 PitServer::listen(const QHostAddress& address, quint16 port) {
    auto* tcp = new GuardedTcpServer(accessCode_, limits_, this);
    // Room for a crowd arriving at once: those beyond the limit get their 429 from here
    // rather than waiting in the system's queue.
    tcp->setListenBacklogSize(256);
    if (!tcp->listen(address, port)) {
        tcp->deleteLater();
        return 0;
    }
    http_->bind(tcp);
    return tcp->serverPort();
}

void PitServer::publish(const QByteArray& stateJson) {
    state_ = stateJson;
    const QString text = QString::fromUtf8(state_);
    for (QWebSocket* socket : live_) socket->sendTextMessage(text);
}

void PitServer::takeWebSockets() {
    while (http_->hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> owned = http_->nextPendingWebSocketConnection();
        if (!owned) continue;
        QWebSocket* socket = owned.release();
        socket->setParent(this);
        // The page only listens; anything it sends beyond pings is small or ends it.
        socket->setMaxAllowedIncomingFrameSize(1024);
        socket->setMaxAllowedIncomingMessageSize(1024);
        live_.push_back(socket);
        connect(socket, &QWebSocket::disconnected, this, [this, socket] {
            live_.erase(std::remove(live_.begin(), live_.end(), socket), live_.end());
            if (live_.empty()) beat_->stop();
            socket->deleteLater();
            emit liveClientsChanged(liveClients());
        });
        socket->sendTextMessage(QString::fromUtf8(state_));
        if (!beat_->isActive()) beat_->start();
        emit liveClientsChanged(liveClients());
    }
}

}  // namespace korimet::pit

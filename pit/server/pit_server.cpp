#include "pit/server/pit_server.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "pit/web_socket.h"

namespace korimet::pit {

namespace {

// Whatever the page or a script may ask for: nothing reaches out and nothing is cached, so
// a phone that wakes reads the state again.
constexpr const char* kSecurityPolicy =
    "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
    "connect-src 'self'; img-src 'self' data:; base-uri 'none'; form-action 'none'";

// A client that does not take its last answer or close frame is cut off after this.
constexpr int kLingerMilliseconds = 1000;

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

QByteArray refusal(int status) {
    const QByteArray reason = reasonOf(status);
    const QByteArray body = reason + "\n";
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\n";
    answer += "Content-Type: text/plain; charset=utf-8\r\nContent-Length: " +
              QByteArray::number(body.size()) + "\r\n";
    if (status == 429) answer += "Retry-After: 30\r\n";
    answer += "Connection: close\r\n\r\n" + body;
    return answer;
}

QByteArray served(const QByteArray& type, const QByteArray& body, bool close) {
    QByteArray answer = "HTTP/1.1 200 OK\r\nContent-Type: " + type +
                        "\r\nContent-Length: " + QByteArray::number(body.size()) +
                        "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n"
                        "Referrer-Policy: no-referrer\r\nContent-Security-Policy: " +
                        kSecurityPolicy + "\r\n";
    if (close) answer += "Connection: close\r\n";
    return answer + "\r\n" + body;
}

QByteArray bytesOf(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

struct PitServer::Connection {
    Connection(QTcpSocket* s, std::string a, std::uint64_t n, const std::string& code,
               const PitLimits& limits)
        : socket(s), address(std::move(a)), arrival(n), scanner(code, limits) {}

    QTcpSocket* socket;
    std::string address;
    std::uint64_t arrival;  // order of arrival: the oldest gives way first
    RequestScanner scanner;
    std::optional<FrameReader> frames;  // once live
    QTimer* deadline = nullptr;         // a child of the socket
    bool closing = false;
    bool stale = false;  // live: a newer state waits until the page has taken what it has
    qint64 lastProgress = 0;
};

PitServer::PitServer(QString accessCode, PitLimits limits, QObject* parent)
    : QObject(parent),
      accessCode_(std::move(accessCode)),
      limits_(limits),
      beat_(new QTimer(this)),
      guesses_(limits) {
    QFile page(QStringLiteral(":/pit/index.html"));
    if (page.open(QIODevice::ReadOnly)) page_ = page.readAll();
    clock_.start();
    publish("{}");
    beat_->setInterval(kBeatMilliseconds);
    connect(beat_, &QTimer::timeout, this, &PitServer::beat);
}

PitServer::~PitServer() {
    // The sockets go with this object; nothing of theirs may call back into a half-gone one.
    for (auto& [socket, c] : connections_) socket->disconnect();
}

quint16 PitServer::listen(const QHostAddress& address, quint16 port) {
    auto* tcp = new QTcpServer(this);
    // Room for a crowd arriving at once: each is judged here, rather than waiting in the
    // system's queue.
    tcp->setListenBacklogSize(256);
    tcp->setMaxPendingConnections(256);
    if (!tcp->listen(address, port)) {
        tcp->deleteLater();
        return 0;
    }
    connect(tcp, &QTcpServer::newConnection, this, [this, tcp] { accept(tcp); });
    return tcp->serverPort();
}

void PitServer::publish(const QByteArray& stateJson) {
    state_ = stateJson;
    stateFrame_ =
        bytesOf(webSocketFrame(Opcode::Text, std::string_view(state_.constData(), state_.size())));
    for (auto& [socket, c] : connections_) {
        if (c->frames && !c->closing) sendState(*c);
    }
}

void PitServer::accept(QTcpServer* tcp) {
    while (QTcpSocket* socket = tcp->nextPendingConnection()) {
        socket->setParent(this);
        const std::string address = socket->peerAddress().toString().toStdString();
        std::vector<SlotHolder> holders;
        std::vector<QTcpSocket*> order;
        for (const auto& [s, c] : connections_) {
            if (c->closing) continue;
            holders.push_back({c->address, c->frames.has_value()});
            order.push_back(s);
        }
        // The map is by socket; the decision is by age.
        std::vector<std::size_t> byAge(order.size());
        for (std::size_t i = 0; i < byAge.size(); ++i) byAge[i] = i;
        std::sort(byAge.begin(), byAge.end(), [&](std::size_t a, std::size_t b) {
            return connections_.at(order[a])->arrival < connections_.at(order[b])->arrival;
        });
        std::vector<SlotHolder> oldestFirst;
        for (std::size_t i : byAge) oldestFirst.push_back(holders[i]);
        const Admission admission = admit(oldestFirst, address, limits_);
        if (admission.kind == Admission::Evict) drop(order[byAge[admission.victim]]);

        auto owned = std::make_unique<Connection>(socket, address, ++arrivals_,
                                                  accessCode_.toStdString(), limits_);
        Connection& c = *owned;
        connections_.emplace(socket, std::move(owned));
        // Queued, so that a close never pulls a connection from under the code that closed it;
        // with the socket as context, nothing left over runs once it is gone.
        connect(
            socket, &QTcpSocket::disconnected, socket, [this, socket] { drop(socket); },
            Qt::QueuedConnection);
        connect(
            socket, &QTcpSocket::errorOccurred, socket,
            [this, socket] {
                if (socket->state() == QAbstractSocket::UnconnectedState) drop(socket);
            },
            Qt::QueuedConnection);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] {
            const auto it = connections_.find(socket);
            if (it == connections_.end()) return;
            Connection& live = *it->second;
            live.lastProgress = clock_.elapsed();
            if (live.stale && socket->bytesToWrite() == 0 && !live.closing) {
                live.stale = false;
                sendState(live);
            }
        });
        if (admission.kind == Admission::Refuse || guesses_.lockedOut(address, clock_.elapsed())) {
            refuse(c, 429);
            continue;
        }
        c.deadline = new QTimer(socket);
        c.deadline->setSingleShot(true);
        // A head sent slowly runs out of time however often bytes trickle in; so does a
        // connection that asks nothing.
        connect(c.deadline, &QTimer::timeout, socket, [this, socket] {
            const auto it = connections_.find(socket);
            if (it == connections_.end() || it->second->frames || it->second->closing) return;
            if (it->second->scanner.midRequest()) {
                refuse(*it->second, 408);
            } else {
                closeSoon(*it->second);
            }
        });
        c.deadline->start(limits_.headMilliseconds);
    }
}

void PitServer::readFrom(QTcpSocket* socket) {
    const auto it = connections_.find(socket);
    if (it == connections_.end()) return;
    Connection& c = *it->second;
    const QByteArray bytes = socket->readAll();
    if (c.closing) return;
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (c.frames) {
        readFrames(c, view);
        return;
    }
    if (guesses_.lockedOut(c.address, clock_.elapsed())) {
        refuse(c, 429);
        return;
    }
    const int before = c.scanner.headsPassed();
    c.scanner.take(view);
    for (const Verdict& verdict : c.scanner.takeVerdicts()) {
        if (!verdict.passes()) {
            if (verdict.wrongCode) guesses_.wrongCode(c.address, clock_.elapsed());
            refuse(c, verdict.status);
            return;
        }
        guesses_.rightCode(c.address);
        answer(c, verdict);
        // An answer may have cut the connection off.
        if (!connections_.contains(socket)) return;
        if (c.closing || c.frames) break;
    }
    if (c.frames) {
        const std::string rest = c.scanner.takeRest();
        if (!rest.empty()) readFrames(c, rest);
    } else if (!c.closing && c.scanner.headsPassed() != before) {
        c.deadline->start(limits_.headMilliseconds);
    }
}

void PitServer::answer(Connection& c, const Verdict& verdict) {
    if (verdict.resource == Resource::Live) {
        goLive(c, verdict.webSocketKey);
        return;
    }
    const bool page = verdict.resource == Resource::Page;
    c.socket->write(served(page ? "text/html; charset=utf-8" : "application/json",
                           page ? page_ : state_, verdict.closeAfter));
    if (verdict.closeAfter) {
        closeSoon(c);
    } else if (overSent(c)) {
        // Asks again and again but takes nothing: its answers would pile up here.
        drop(c.socket);
    }
}

void PitServer::refuse(Connection& c, int status) {
    if (c.closing) return;
    c.socket->write(refusal(status));
    closeSoon(c);
}

void PitServer::goLive(Connection& c, const std::string& key) {
    c.deadline->stop();
    c.frames.emplace();
    c.lastProgress = clock_.elapsed();
    c.socket->write(
        "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
        "Connection: Upgrade\r\nSec-WebSocket-Accept: " +
        bytesOf(webSocketAccept(key)) + "\r\n\r\n");
    sendState(c);
    ++live_;
    if (!beat_->isActive()) beat_->start();
    emit liveClientsChanged(live_);
}

void PitServer::readFrames(Connection& c, std::string_view bytes) {
    for (const FrameReader::Frame& frame : c.frames->take(bytes)) {
        if (frame.opcode == Opcode::Ping) {
            c.socket->write(bytesOf(webSocketFrame(Opcode::Pong, frame.payload)));
        } else if (frame.opcode == Opcode::Close) {
            // Answered with the page's own code, as the protocol asks, then closed.
            c.socket->write(bytesOf(webSocketFrame(Opcode::Close, frame.payload.substr(0, 2))));
            closeSoon(c);
            return;
        }
    }
    if (c.frames->fault() != 0) {
        c.socket->write(bytesOf(closeFrame(c.frames->fault())));
        closeSoon(c);
    }
}

bool PitServer::overSent(const Connection& c) const {
    return static_cast<std::size_t>(c.socket->bytesToWrite()) > limits_.maxUnsentBytes;
}

void PitServer::sendState(Connection& c) {
    // A page that is behind gets only the newest state once it has caught up: every state is
    // whole, so the ones in between are never missed. So a page holds at most about two
    // states here, however long it sleeps.
    const qint64 unsent = c.socket->bytesToWrite();
    if ((unsent > 0 && c.stale) || unsent > std::max<qint64>(stateFrame_.size(), 16 * 1024)) {
        c.stale = true;
        return;
    }
    if (c.socket->bytesToWrite() == 0) c.lastProgress = clock_.elapsed();
    c.socket->write(stateFrame_);
}

void PitServer::beat() {
    const QByteArray emptyText("\x81\x00", 2);
    const qint64 now = clock_.elapsed();
    std::vector<QTcpSocket*> gone;
    for (auto& [socket, c] : connections_) {
        if (!c->frames || c->closing) continue;
        if (socket->bytesToWrite() == 0) {
            c->lastProgress = now;
            socket->write(emptyText);
        } else if (now - c->lastProgress > limits_.stallMilliseconds) {
            gone.push_back(socket);
        }
    }
    for (QTcpSocket* socket : gone) drop(socket);
}

void PitServer::closeSoon(Connection& c) {
    if (c.closing) return;
    c.closing = true;
    if (c.deadline) c.deadline->stop();
    if (c.frames) {
        --live_;
        emit liveClientsChanged(live_);
    }
    QTcpSocket* socket = c.socket;
    QTimer::singleShot(kLingerMilliseconds, socket, [this, socket] { drop(socket); });
    // Sends what was written, then closes; disconnected() then drops it.
    socket->disconnectFromHost();
}

void PitServer::drop(QTcpSocket* socket) {
    const auto it = connections_.find(socket);
    if (it == connections_.end()) return;
    const bool wasLive = it->second->frames.has_value() && !it->second->closing;
    connections_.erase(it);
    if (wasLive) {
        --live_;
        emit liveClientsChanged(live_);
    }
    if (live_ == 0) beat_->stop();
    socket->disconnect();
    socket->abort();
    socket->deleteLater();
}

}  // namespace korimet::pit

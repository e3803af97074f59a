#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <map>
#include <memory>

#include "pit/connection_guard.h"
#include "pit/request_check.h"

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace korimet::pit {

// The pit view's server: the page, /state.json and the live WebSocket, straight over TCP.
// Every byte a client sends goes through RequestScanner, and only what it passed is
// answered, here; no other parser sees the connection. It serves what it is handed by
// publish() and reads nothing else; it listens only on the addresses it is asked for.
class PitServer : public QObject {
    Q_OBJECT
  public:
    PitServer(QString accessCode, PitLimits limits, QObject* parent = nullptr);
    ~PitServer() override;

    // The port it listens on (the one asked for, or the one picked for 0); 0 on failure.
    quint16 listen(const QHostAddress& address, quint16 port);

    // The new state, as pitStateJson made it: kept for /state.json and pushed to every page.
    void publish(const QByteArray& stateJson);

    // How often every page gets an empty message, by which it knows the link is alive: a
    // phone that lost the Wi-Fi often never hears the connection close.
    static constexpr int kBeatMilliseconds = 300;

    const QString& accessCode() const { return accessCode_; }
    // Pages connected live, and connections of any kind, as the server holds them.
    int liveClients() const { return live_; }
    int connections() const { return static_cast<int>(connections_.size()); }

  signals:
    void liveClientsChanged(int count);

  private:
    struct Connection;

    void accept(QTcpServer* tcp);
    void readFrom(QTcpSocket* socket);
    void answer(Connection& c, const Verdict& verdict);
    void refuse(Connection& c, int status);
    void goLive(Connection& c, const std::string& key);
    void readFrames(Connection& c, std::string_view bytes);
    void sendState(Connection& c);
    void beat();
    void closeSoon(Connection& c);
    void drop(QTcpSocket* socket);
    bool overSent(const Connection& c) const;

    QString accessCode_;
    PitLimits limits_;
    QByteArray state_;
    QByteArray stateFrame_;
    QByteArray page_;
    QTimer* beat_;
    QElapsedTimer clock_;
    GuessGuard guesses_;
    // Every connection the server holds, by its socket (a child of this object). What is here
    // is what counts: a connection leaves only through drop().
    std::map<QTcpSocket*, std::unique_ptr<Connection>> connections_;
    std::uint64_t arrivals_ = 0;
    int live_ = 0;
};

}  // namespace korimet::pit

#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "pit/request_check.h"

class QAbstractHttpServer;
class QTimer;
class QWebSocket;

namespace korimet::pit {

// The pit view's server: the page, /state.json and the live WebSocket over Qt's HTTP server,
// every request judged by RequestScanner first. It serves what it is handed by publish() and
// reads nothing else; it listens only on the addresses it is asked for.
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
    int liveClients() const { return static_cast<int>(live_.size()); }

  signals:
    void liveClientsChanged(int count);

  private:
    void takeWebSockets();

    QString accessCode_;
    PitLimits limits_;
    QByteArray state_;
    QByteArray page_;
    QAbstractHttpServer* http_;
    QTimer* beat_;
    std::vector<QWebSocket*> live_;  // children of this object
};

}  // namespace korimet::pit

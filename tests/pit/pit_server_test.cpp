#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWebSocket>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "pit/server/pit_server.h"
#include "pit/web_socket.h"

// The server as a stranger on the track's Wi-Fi would try it, over 127.0.0.1 only. Every wait
// runs the event loop for a bounded time and ends by itself.
namespace korimet::pit {
namespace {

constexpr const char* kCode = "K7M2QX";

// Runs the event loop until `done` or the time is up; whether `done` came true.
bool pumpUntil(const std::function<bool()>& done, int milliseconds = 3000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// A raw client on a non-blocking socket, so that it can misbehave.
class Client {
  public:
    // From `from`, another loopback address when a test needs a second machine on the Wi-Fi.
    explicit Client(quint16 port, const char* from = nullptr, int receiveBuffer = 0)
        : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0)) {
        if (receiveBuffer > 0)
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        if (from) {
            sockaddr_in source{};
            source.sin_family = AF_INET;
            ::inet_pton(AF_INET, from, &source.sin_addr);
            ::bind(fd_, reinterpret_cast<sockaddr*>(&source), sizeof source);
        }
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    ~Client() {
        if (fd_ >= 0) ::close(fd_);
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    void send(const std::string& bytes) {
        // Once connected, a connection the server ended stays unwritable: send and see.
        connected_ = connected_ || pumpUntil([&] { return writable(); }, 1000);
        std::size_t at = 0;
        for (int tries = 0; at < bytes.size() && tries < 1000; ++tries) {
            const ssize_t n = ::send(fd_, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
            if (n > 0) at += static_cast<std::size_t>(n);
            if (n < 0 && errno != EAGAIN) return;
            if (at < bytes.size()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    // Reads what has arrived; true once the server has closed the connection.
    bool poll() {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n > 0) {
                received_.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) closed_ = true;
            return closed_;
        }
    }
    bool closed() const { return closed_; }
    // No more to send: the server answers what it has, then closes.
    void finish() { ::shutdown(fd_, SHUT_WR); }
    // Gone at once, as a phone losing the Wi-Fi mid-word or a reset.
    void reset() {
        linger hard{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        ::close(fd_);
        fd_ = -1;
    }
    void close() {
        ::close(fd_);
        fd_ = -1;
    }
    void clear() { received_.clear(); }
    const std::string& received() const { return received_; }
    int status() const {
        return received_.rfind("HTTP/1.1 ", 0) == 0 && received_.size() >= 12
                   ? std::stoi(received_.substr(9, 3))
                   : 0;
    }
    std::string body() const {
        const std::size_t end = received_.find("\r\n\r\n");
        return end == std::string::npos ? std::string() : received_.substr(end + 4);
    }

  private:
    bool writable() const {
        sockaddr_in peer{};
        socklen_t size = sizeof peer;
        return ::getpeername(fd_, reinterpret_cast<sockaddr*>(&peer), &size) == 0;
    }
    int fd_;
    bool connected_ = false;
    std::string received_;
    bool closed_ = false;
};

std::string get(const std::string& target, const std::string& headers = "") {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n";
}

class PitServerTest : public ::testing::Test {
  protected:
    void start(PitLimits limits = {}) {
        server_ = std::make_unique<PitServer>(kCode, limits);
        port_ = server_->listen(QHostAddress::LocalHost, 0);
        ASSERT_NE(port_, 0);
    }
    void SetUp() override { start(); }

    // Sends the bytes on a new connection and waits for the answer to close it, or for a
    // body of `bodyBytes`.
    std::unique_ptr<Client> ask(const std::string& bytes) {
        auto client = std::make_unique<Client>(port_);
        client->send(bytes);
        pumpUntil([&] {
            client->poll();
            return client->closed() || (client->status() == 200 && !client->body().empty());
        });
        return client;
    }

    std::unique_ptr<PitServer> server_;
    quint16 port_ = 0;
};

TEST_F(PitServerTest, ServesThePageAndTheStateOnlyWithTheCode) {
    server_->publish(R"({"shown":null,"dayRuns":[]})");
    const auto page = ask(get("/?code=K7M2QX"));
    EXPECT_EQ(page->status(), 200);
    EXPECT_NE(page->body().find("<html"), std::string::npos);
    EXPECT_LE(page->body().size(), 100u * 1024u);
    EXPECT_NE(page->received().find("Cache-Control: no-store"), std::string::npos);
    const auto state = ask(get("/state.json?code=K7M2QX"));
    EXPECT_EQ(state->status(), 200);
    EXPECT_EQ(state->body(), R"({"shown":null,"dayRuns":[]})");
}

TEST_F(PitServerTest, EveryBadRequestGetsItsFourHundredAndTheConnectionEnds) {
    const std::string ws =
        "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: "
        "13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
    struct Case {
        std::string request;
        int status;
    } cases[] = {
        {get("/"), 403},
        {get("/state.json"), 403},
        {get("/state.json?code=WRONG2"), 403},
        {get("/live?code=WRONG2", ws), 403},
        {get("/../../../../etc/passwd?code=K7M2QX"), 404},
        {get("/%2e%2e/%2e%2e/etc/passwd?code=K7M2QX"), 404},
        {get("/state.json/../../etc/passwd?code=K7M2QX"), 404},
        {get("/pit/index.html?code=K7M2QX"), 404},
        {get(":/pit/index.html?code=K7M2QX"), 400},
        {"POST /state.json?code=K7M2QX HTTP/1.1\r\nHost: h\r\nContent-Length: 2\r\n\r\n{}", 405},
        {get("/?code=K7M2QX", "Content-Length: 100000\r\n"), 413},
        {get("/?code=K7M2QX&pad=" + std::string(2000, 'x')), 414},
        {get("/?code=K7M2QX", "X-Pad: " + std::string(20000, 'x') + "\r\n"), 431},
        {std::string(20000, 'A'), 431},
        {"\x16\x03\x01\x02\xa5\x01\x02\x03\xa1\x03\x03\r\n\r\n", 400},
        {"GET /?code=K7M2QX HTTP/1.1\nHost: h\n\n\r\n\r\n", 400},
    };
    for (const Case& c : cases) {
        const auto client = ask(c.request);
        EXPECT_EQ(client->status(), c.status) << c.request.substr(0, 80);
        EXPECT_TRUE(client->closed()) << c.request.substr(0, 80);
        EXPECT_EQ(client->body().find("root:"), std::string::npos);
    }
    // None of that stopped the server.
    EXPECT_EQ(ask(get("/state.json?code=K7M2QX"))->status(), 200);
}

TEST_F(PitServerTest, PushesEveryNewStateToEveryPage) {
    server_->publish(R"({"n":0})");
    std::vector<std::unique_ptr<QWebSocket>> pages;
    std::vector<std::vector<QString>> got(5);
    for (std::size_t i = 0; i < got.size(); ++i) {
        pages.push_back(std::make_unique<QWebSocket>());
        QObject::connect(pages.back().get(), &QWebSocket::textMessageReceived,
                         [&got, i](const QString& m) {
                             if (!m.isEmpty()) got[i].push_back(m);  // beats aside
                         });
        pages.back()->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live?code=K7M2QX").arg(port_)));
    }
    ASSERT_TRUE(pumpUntil([&] { return server_->liveClients() == 5; }));
    server_->publish(R"({"n":1})");
    server_->publish(R"({"n":2})");
    ASSERT_TRUE(pumpUntil([&] {
        for (const auto& g : got)
            if (g.size() < 3) return false;
        return true;
    }));
    for (const auto& g : got)
        EXPECT_EQ(g, (std::vector<QString>{R"({"n":0})", R"({"n":1})", R"({"n":2})"}));

    pages[0]->close();
    EXPECT_TRUE(pumpUntil([&] { return server_->liveClients() == 4; }));
}

TEST_F(PitServerTest, OpenPagesHearABeatWhileNothingChanges) {
    server_->publish(R"({"n":0})");
    QWebSocket page;
    std::vector<QString> got;
    QObject::connect(&page, &QWebSocket::textMessageReceived,
                     [&got](const QString& m) { got.push_back(m); });
    page.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live?code=K7M2QX").arg(port_)));
    // The state first, then beats: empty messages, several a second.
    ASSERT_TRUE(pumpUntil([&] { return got.size() >= 3; }));
    EXPECT_EQ(got[0], R"({"n":0})");
    EXPECT_TRUE(got[1].isEmpty());
    EXPECT_TRUE(got[2].isEmpty());
}

TEST_F(PitServerTest, HundredsOfIdleConnectionsAreRefusedThenDropped) {
    PitLimits limits;
    limits.maxConnections = 40;
    limits.headMilliseconds = 300;
    start(limits);
    std::vector<std::unique_ptr<Client>> idle;
    for (int i = 0; i < 300; ++i) idle.push_back(std::make_unique<Client>(port_));
    // Every one ends by itself: beyond its address's share each pushes out the oldest of its
    // own, and the rest end when idle too long.
    ASSERT_TRUE(pumpUntil(
        [&] {
            for (auto& c : idle)
                if (!c->poll()) return false;
            return true;
        },
        8000));
    for (const auto& c : idle) {
        EXPECT_TRUE(c->status() == 0 || c->status() == 429) << c->received();
    }
    idle.clear();
    EXPECT_TRUE(pumpUntil([&] { return ask(get("/state.json?code=K7M2QX"))->status() == 200; }));
}

TEST_F(PitServerTest, ASlowClientRunsOutOfTime) {
    PitLimits limits;
    limits.headMilliseconds = 300;
    start(limits);
    Client slow(port_);
    const std::string request = get("/state.json?code=K7M2QX", "X-Slow: " + std::string(60, 's'));
    std::size_t sent = 0;
    QDeadlineTimer deadline(5000);
    while (!slow.poll() && sent < request.size() && !deadline.hasExpired()) {
        slow.send(request.substr(sent++, 1));
        pumpUntil([] { return false; }, 30);
    }
    EXPECT_TRUE(pumpUntil([&] { return slow.poll(); }));
    EXPECT_EQ(slow.status(), 408);
    EXPECT_LT(sent, request.size());
}

TEST_F(PitServerTest, KeepsConnectionsForPagesThatAskAgain) {
    Client client(port_);
    client.send(get("/state.json?code=K7M2QX") + get("/state.json?code=K7M2QX"));
    EXPECT_TRUE(pumpUntil([&] {
        client.poll();
        std::size_t answers = 0;
        for (std::size_t at = 0;
             (at = client.received().find("HTTP/1.1 200", at)) != std::string::npos; ++at)
            ++answers;
        return answers == 2;
    }));
    EXPECT_FALSE(client.closed());
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size())
        ++n;
    return n;
}

const std::string kUpgrade =
    "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
    "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";

// Requests as strangers and broken clients send them: good ones, code-less ones, bare line
// ends, garbled lines, bodies, upgrades, then bytes changed at random.
std::string strangeRequest(std::mt19937& engine) {
    static const std::vector<std::string> shapes = {
        get("/state.json?code=K7M2QX"),
        get("/?code=K7M2QX"),
        "GET /state.json HTTP/1.1\nHost: x\n\n",
        "GET /state.json?code=K7M2QX HTTP/1.1\nHost: x\n\n",
        "GET /state.json HTTP/1.0\r\n\r\n",
        "GET / HTTP/1.0\n\n",
        "POST /state.json HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\n{}",
        "GARBLED\r\n\r\n",
        "GET /state.json\r\n\r\n",
        get("/live?code=K7M2QX", kUpgrade),
        get("/live", kUpgrade),
        get("/state.json?code=WRONG2"),
    };
    std::string r = shapes[engine() % shapes.size()];
    const int mutations = static_cast<int>(engine() % 3);
    for (int m = 0; m < mutations && !r.empty(); ++m) {
        const std::size_t at = engine() % r.size();
        switch (engine() % 4) {
            case 0:
                r[at] = static_cast<char>(engine());
                break;
            case 1:
                r.erase(at, 1 + engine() % 4);
                break;
            case 2:
                r.insert(at, 1, "\r\n \t:"[engine() % 5]);
                break;
            default: {
                const std::size_t cr = r.find('\r', at);
                if (cr != std::string::npos) r.erase(cr, 1);
            }
        }
    }
    return r;
}

TEST_F(PitServerTest, NothingWithoutTheCodeIsEverAnsweredWithData) {
    server_->publish(R"({"secret":"laps"})");
    std::mt19937 engine(2811);
    for (int round = 0; round < 400; ++round) {
        std::string bytes;
        const int n = 1 + static_cast<int>(engine() % 3);
        for (int i = 0; i < n; ++i) bytes += strangeRequest(engine);
        Client client(port_);
        // Sent in pieces, each after the server has had a chance to read the last.
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t piece = 1 + engine() % 40;
            client.send(bytes.substr(at, piece));
            at += piece;
            if (engine() % 3 == 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        }
        client.finish();
        ASSERT_TRUE(pumpUntil([&] { return client.poll(); }, 5000)) << bytes;
        const std::string& got = client.received();
        const std::size_t answered = count(got, "HTTP/1.1 200") + count(got, "HTTP/1.1 101");
        EXPECT_LE(answered, count(bytes, "code=K7M2QX")) << bytes;
        if (count(bytes, "code=K7M2QX") == 0) {
            EXPECT_EQ(got.find("laps"), std::string::npos) << bytes;
            EXPECT_EQ(got.find("<html"), std::string::npos) << bytes;
        }
    }
    EXPECT_EQ(ask(get("/state.json?code=K7M2QX"))->status(), 200);
}

// A page's live connection opened by hand; true once the handshake is answered.
bool openLive(Client& client) {
    client.send(get("/live?code=K7M2QX", kUpgrade));
    return pumpUntil([&] {
               client.poll();
               return client.received().find("\r\n\r\n") != std::string::npos || client.closed();
           }) &&
           client.received().rfind("HTTP/1.1 101", 0) == 0;
}

TEST_F(PitServerTest, AThousandPagesComeAndGoAndTheNextIsServed) {
    PitLimits limits;
    limits.headMilliseconds = 200;
    start(limits);
    const std::string closeFromPage =
        std::string("\x88\x82\x01\x02\x03\x04", 6) + "\x02\xEA";  // 1000, masked
    for (int i = 0; i < 1000; ++i) {
        Client page(port_);
        switch (i % 5) {
            case 0:  // closed cleanly, as a browser closing the tab
                ASSERT_TRUE(openLive(page)) << i;
                page.send(closeFromPage);
                pumpUntil([&] { return page.poll(); }, 2000);
                break;
            case 1:  // dropped without a close frame
                ASSERT_TRUE(openLive(page)) << i;
                page.close();
                break;
            case 2:  // reset
                ASSERT_TRUE(openLive(page)) << i;
                page.reset();
                break;
            case 3:  // the handshake never finished: it runs out of time
                page.send("GET /live?code=K7M2QX HTTP/1.1\r\nHost: h\r\n");
                if (i % 50 == 3) pumpUntil([&] { return page.poll(); }, 2000);
                break;
            default:  // by the library's own client
            {
                QWebSocket socket;
                socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live?code=K7M2QX").arg(port_)));
                ASSERT_TRUE(pumpUntil([&] {
                    return socket.state() == QAbstractSocket::ConnectedState;
                })) << i;
                socket.close();
                pumpUntil([&] { return socket.state() == QAbstractSocket::UnconnectedState; });
            }
        }
    }
    EXPECT_TRUE(pumpUntil([&] { return server_->liveClients() == 0; }, 5000));
    EXPECT_EQ(ask(get("/state.json?code=K7M2QX"))->status(), 200);
    QWebSocket last;
    last.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live?code=K7M2QX").arg(port_)));
    EXPECT_TRUE(pumpUntil([&] { return server_->liveClients() == 1; }));
}

TEST_F(PitServerTest, AStrangersCrowdOfSlowConnectionsLeavesRoomForOthers) {
    PitLimits limits;
    limits.headMilliseconds = 60000;  // longer than the test: nothing times out by itself
    start(limits);
    std::vector<std::unique_ptr<Client>> crowd;
    for (int i = 0; i < 150; ++i) {
        crowd.push_back(std::make_unique<Client>(port_, "127.0.0.2"));
        crowd.back()->send("GET /?code=");  // and never more
        if (i % 10 == 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    pumpUntil([] { return false; }, 200);
    for (int i = 0; i < 20; ++i) {
        Client mechanic(port_, "127.0.0.1");
        mechanic.send(get("/state.json?code=K7M2QX"));
        ASSERT_TRUE(pumpUntil([&] {
            mechanic.poll();
            return mechanic.closed() || !mechanic.body().empty();
        }));
        EXPECT_EQ(mechanic.status(), 200) << i;
    }
}

TEST_F(PitServerTest, ClosesAsAskedRightAfterTheAnswer) {
    PitLimits limits;
    limits.headMilliseconds = 60000;
    start(limits);
    for (const std::string& request :
         {get("/state.json?code=K7M2QX", "Connection: close\r\n"),
          std::string("GET /state.json?code=K7M2QX HTTP/1.0\r\n\r\n")}) {
        Client client(port_);
        client.send(request);
        EXPECT_TRUE(pumpUntil([&] { return client.poll(); }, 3000)) << request;
        EXPECT_EQ(client.status(), 200);
        EXPECT_NE(client.received().find("Connection: close"), std::string::npos);
    }
}

TEST_F(PitServerTest, APageThatStopsReadingGetsTheNewestStateNotABacklog) {
    Client sleeping(port_, nullptr, 4096);
    ASSERT_TRUE(openLive(sleeping));
    const std::string laps(20000, 'L');
    constexpr int kStates = 600;
    for (int i = 1; i <= kStates; ++i) {
        server_->publish(QByteArray::fromStdString("{\"n\":" + std::to_string(i) + ",\"laps\":\"" +
                                                   laps + "\"}"));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    // The phone wakes and reads everything it was sent.
    std::string last;
    int states = 0;
    ASSERT_TRUE(pumpUntil(
        [&] {
            sleeping.poll();
            return sleeping.received().find("\"n\":" + std::to_string(kStates) + ",") !=
                   std::string::npos;
        },
        10000));
    states = static_cast<int>(count(sleeping.received(), "\"laps\""));
    EXPECT_LT(states, kStates / 2) << "states in between were queued, not skipped";
    EXPECT_EQ(server_->liveClients(), 1);
}

TEST_F(PitServerTest, AnUnmaskedFrameEndsTheLiveConnection) {
    Client page(port_);
    ASSERT_TRUE(openLive(page));
    page.clear();
    page.send(webSocketFrame(Opcode::Text, "not masked"));
    ASSERT_TRUE(pumpUntil([&] { return page.poll(); }));
    EXPECT_NE(page.received().find(closeFrame(1002)), std::string::npos);
    EXPECT_TRUE(pumpUntil([&] { return server_->liveClients() == 0; }));
}

TEST_F(PitServerTest, RepeatedWrongCodesLockOutThatAddressOnly) {
    PitLimits limits;
    limits.freeGuesses = 5;
    limits.lockoutMilliseconds = 1500;
    start(limits);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ask(get("/state.json?code=GUESS" + std::to_string(i)))->status(), 403);
    // Now even the right code is not heard from there, for a while.
    EXPECT_EQ(ask(get("/state.json?code=K7M2QX"))->status(), 429);
    Client other(port_, "127.0.0.2");
    other.send(get("/state.json?code=K7M2QX"));
    ASSERT_TRUE(pumpUntil([&] { return other.poll() || !other.body().empty(); }));
    EXPECT_EQ(other.status(), 200);
    EXPECT_TRUE(
        pumpUntil([&] { return ask(get("/state.json?code=K7M2QX"))->status() == 200; }, 5000));
}

}  // namespace
}  // namespace korimet::pit

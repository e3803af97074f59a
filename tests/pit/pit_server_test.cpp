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
#include <string>
#include <vector>

#include "pit/server/pit_server.h"

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
    explicit Client(quint16 port) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0)) {
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
        pumpUntil([&] { return writable(); }, 1000);
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
    // Every one ends by itself: beyond the limit at once with 429, the rest when idle too long.
    ASSERT_TRUE(pumpUntil(
        [&] {
            for (auto& c : idle)
                if (!c->poll()) return false;
            return true;
        },
        8000));
    int refused = 0;
    for (const auto& c : idle) {
        if (c->status() == 429) ++refused;
        EXPECT_TRUE(c->status() == 0 || c->status() == 429) << c->received();
    }
    // Slots free up as idle ones are dropped, so more than the limit get in over time.
    EXPECT_GT(refused, 0);
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

}  // namespace
}  // namespace korimet::pit

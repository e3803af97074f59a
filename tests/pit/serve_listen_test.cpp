// korimet-cli listen --serve: the timer's line read and the pit view served by one process,
// over a pseudo-terminal and 127.0.0.1 only. Every wait is bounded.

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QWebSocket>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "pit/serve_address.h"
#include "support/frames.h"
#include "support/pty.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace korimet::pit {
namespace {

using test::waitUntil;

TEST(ServeAddress, TakesPortsAndIpAddressesOnly) {
    struct Case {
        const char* text;
        bool taken;
        const char* host;
        int port;
    };
    const Case cases[] = {
        {"8765", true, "", 8765},
        {"0", true, "", 0},
        {"127.0.0.1:8080", true, "127.0.0.1", 8080},
        {"[::1]:65535", true, "::1", 65535},
        {"65536", false, "", 0},
        {"-1", false, "", 0},
        {"", false, "", 0},
        {"80a", false, "", 0},
        {"laptop.local:80", false, "", 0},
        {"127.0.0.1:", false, "", 0},
        {"::1:80", false, "", 0},
        {"[::1]", false, "", 0},
        {"[nonsense]:80", false, "", 0},
        {"999.0.0.1:80", false, "", 0},
    };
    for (const Case& c : cases) {
        const std::optional<ServeAddress> a = parseServeAddress(c.text);
        EXPECT_EQ(a.has_value(), c.taken) << c.text;
        if (!a || !c.taken) continue;
        EXPECT_EQ(a->host, c.host) << c.text;
        EXPECT_EQ(a->port, c.port) << c.text;
    }
    EXPECT_EQ(pitUrl("192.168.4.1", 8765, "K7M2QX"), "http://192.168.4.1:8765/?code=K7M2QX");
    EXPECT_EQ(pitUrl("::1", 80, "K7M2QX"), "http://[::1]:80/?code=K7M2QX");
}

// The listener started on a pseudo-terminal, serving on 127.0.0.1 with a port of its choosing.
class ServeListenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        cli.setProgram(QStringLiteral(KORIMET_CLI));
        cli.setArguments({"listen", pty.path(), "--out",
                          QString::fromStdString(dir.path().string()), "--serve", "127.0.0.1:0"});
        cli.start();
        ASSERT_TRUE(cli.waitForStarted(5000));
        static const QRegularExpression line(
            R"(^pit view: http://127\.0\.0\.1:(\d+)/\?code=([23456789A-HJKMNP-Z]{6})$)",
            QRegularExpression::MultilineOption);
        ASSERT_TRUE(waitUntil([&] {
            errors += cli.readAllStandardError();
            return line.match(QString::fromUtf8(errors)).hasMatch() ||
                   cli.state() == QProcess::NotRunning;
        })) << errors.toStdString();
        const QRegularExpressionMatch m = line.match(QString::fromUtf8(errors));
        ASSERT_TRUE(m.hasMatch()) << errors.toStdString();
        port = m.captured(1).toInt();
        code = m.captured(2);
    }
    void TearDown() override {
        if (cli.state() != QProcess::NotRunning) {
            cli.kill();
            cli.waitForFinished(5000);
        }
    }
    void openPage() {
        live = std::make_unique<QWebSocket>();
        QObject::connect(live.get(), &QWebSocket::textMessageReceived, [this](const QString& m) {
            if (!m.isEmpty()) states.push_back(nlohmann::json::parse(m.toStdString()));
        });
        live->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live?code=%2").arg(port).arg(code)));
        ASSERT_TRUE(waitUntil([&] { return !states.empty(); }));
    }
    // GET of `target`: the status and the body.
    std::pair<int, std::string> get(const QString& target) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
        if (!socket.waitForConnected(3000)) return {0, {}};
        socket.write("GET " + target.toUtf8() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        QByteArray answer;
        waitUntil([&] {
            socket.waitForReadyRead(20);
            answer += socket.readAll();
            const int end = answer.indexOf("\r\n\r\n");
            const int length = answer.indexOf("Content-Length: ");
            if (end < 0 || length < 0) return socket.state() != QAbstractSocket::ConnectedState;
            const int size =
                answer.mid(length + 16, answer.indexOf("\r\n", length) - length - 16).toInt();
            return answer.size() >= end + 4 + size;
        });
        const int status = answer.size() > 12 ? answer.mid(9, 3).toInt() : 0;
        const int end = answer.indexOf("\r\n\r\n");
        return {status, end < 0 ? std::string() : answer.mid(end + 4).toStdString()};
    }

    test::Pty pty;
    test::TempDir dir{"korimet-serve"};
    QProcess cli;
    QByteArray errors;
    int port = 0;
    QString code;
    std::unique_ptr<QWebSocket> live;
    std::vector<nlohmann::json> states;
};

TEST_F(ServeListenTest, EveryReceivedRunReachesOpenPagesAndTheStateForScripts) {
    openPage();
    EXPECT_TRUE(states.front()["shown"].is_null());
    const LapData sent = test::runWithLaps({41.5, 40.25, 43.0, 40.75}, kNoTargetTime, 0, 23);
    const QByteArray frame = test::frameFor(sent);
    ASSERT_TRUE(pty.write(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                          static_cast<std::size_t>(frame.size())));
    ASSERT_TRUE(waitUntil([&] { return !states.back()["shown"].is_null(); }));
    const nlohmann::json run = states.back()["shown"]["run"];
    EXPECT_EQ(run["carId"], 23);
    ASSERT_EQ(run["laps"].size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(run["laps"][i]["seconds"], sent.laps[i]) << i;

    const auto [status, body] = get("/state.json?code=" + code);
    EXPECT_EQ(status, 200);
    EXPECT_EQ(nlohmann::json::parse(body), states.back());
    EXPECT_EQ(get("/state.json?code=WRONG2").first, 403);

    // Ctrl+C ends it as plain listen does: 0, a run was saved.
    cli.terminate();
    ASSERT_TRUE(cli.waitForFinished(5000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 0);
}

TEST(ServeListen, WhatCannotBeServedEndsWithTwo) {
    const test::TempDir dir("korimet-serve");
    const std::string out = " --out " + test::quoted(dir.path());
    for (const char* serve :
         {"--serve laptop.local:80", "--serve 65536", "--serve", "--serve 192.0.2.1:0"}) {
        EXPECT_EQ(test::runCli("listen /dev/null" + out + " " + serve + " 2>/dev/null").status, 2)
            << serve;
    }
}

}  // namespace
}  // namespace korimet::pit

// Stands in for phones on the pit view: N live connections, each parsing every state it is
// sent and walking what the page draws from it. Prints "open N" once all are open, then runs
// until killed. Used by bench/pit_pages_uibench.cpp.
#include <QCoreApplication>
#include <QTextStream>
#include <QUrl>
#include <QWebSocket>
#include <cstdio>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

namespace {

// What the page reads of a state: the shown run's laps, the day's runs, each car's trend.
double walk(const nlohmann::json& state) {
    double sum = 0;
    if (state.contains("shown") && state["shown"].is_object()) {
        for (const auto& lap : state["shown"]["run"]["laps"]) sum += lap["seconds"].get<double>();
    }
    for (const auto& run : state["dayRuns"]) sum += run["readable"].get<bool>() ? 1 : 0;
    for (const auto& car : state["cars"]) sum += static_cast<double>(car["trend"].size());
    return sum;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: pit_page_clients WS-URL COUNT\n");
        return 2;
    }
    const QUrl url(QString::fromLocal8Bit(argv[1]));
    const int count = QString::fromLocal8Bit(argv[2]).toInt();
    std::vector<std::unique_ptr<QWebSocket>> sockets;
    int open = 0;
    double checksum = 0;
    // Phones open their pages a few at a time, not all in one instant: the server lets one
    // address have only so many connections that have not yet become live pages.
    constexpr int kOpeningAtOnce = 8;
    std::function<void()> openNext = [&] {
        if (static_cast<int>(sockets.size()) >= count) return;
        auto socket = std::make_unique<QWebSocket>();
        QObject::connect(socket.get(), &QWebSocket::connected, &app, [&open, count, &openNext] {
            if (++open == count) {
                std::printf("open %d\n", count);
                std::fflush(stdout);
            }
            openNext();
        });
        QObject::connect(socket.get(), &QWebSocket::textMessageReceived, &app,
                         [&checksum](const QString& message) {
                             if (message.isEmpty()) return;
                             checksum += walk(nlohmann::json::parse(message.toStdString()));
                         });
        socket->open(url);
        sockets.push_back(std::move(socket));
    };
    for (int i = 0; i < kOpeningAtOnce; ++i) openNext();
    return QCoreApplication::exec() + (checksum < 0 ? 1 : 0);
}

#pragma once

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QThread>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace korimet::test {

// Runs the event loop until the condition holds; the deadline only keeps a broken build
// from hanging the suite.
inline bool waitUntil(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

// Lets queued events run a while longer, to see that nothing more happens.
inline void settle() {
    for (int i = 0; i < 50; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

// A pseudo-terminal pair standing in for the timer: the test writes on the master, the
// program opens the slave by its path.
class Pty {
  public:
    Pty() {
        termios raw{};
        cfmakeraw(&raw);
        char name[256] = {};
        if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) return;
        path_ = QString::fromLocal8Bit(name);
    }
    ~Pty() {
        closeMaster();
        if (slave_ >= 0) ::close(slave_);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return master_ >= 0 && !path_.isEmpty(); }
    const QString& path() const { return path_; }

    bool write(const std::uint8_t* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(master_, data, size);
            if (n <= 0) return false;
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }
    void closeMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

  private:
    int master_ = -1;
    int slave_ = -1;  // held, as the emulator does, so the master never sees a hang-up
    QString path_;
};

}  // namespace korimet::test

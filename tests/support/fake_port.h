#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

#include "device/ui/serial_port.h"

namespace korimet::test {

// A serial port that records each step of the opening sequence, refuses the one named in
// failAt, and hands out the bytes a test delivers.
class RecordingSurface : public SerialPortSurface {
  public:
    QStringList steps;
    QString failAt;
    bool open_ = false;
    int number = 0;
    QString settings;

    bool isOpen() const override { return open_; }
    PortStep open() override {
        return step("open", [&] { open_ = true; });
    }
    PortStep close() override {
        return step("close", [&] { open_ = false; });
    }
    PortStep setPortNumber(int n) override {
        return step(QStringLiteral("port %1").arg(n), [&] { number = n; });
    }
    int portNumber() const override { return number; }
    PortStep setSettings(const QString& s) override {
        return step("settings " + s, [&] { settings = s; });
    }
    PortStep setInputMode(int mode) override {
        return step(QStringLiteral("mode %1").arg(mode), [] {});
    }
    PortStep setReceiveThreshold(int bytes) override {
        return step(QStringLiteral("threshold %1").arg(bytes), [] {});
    }
    PortStep setInputLength(int bytes) override {
        return step(QStringLiteral("length %1").arg(bytes), [] {});
    }
    // Bytes on the line: deliver() puts them there and raises the receive event.
    QByteArray waiting;
    void deliver(const QByteArray& bytes) {
        waiting += bytes;
        emit bytesReceived();
    }
    QByteArray readAll() override { return std::exchange(waiting, {}); }

  private:
    PortStep step(const QString& name, const std::function<void()>& apply) {
        steps << name;
        if (name == failAt) return PortStepError{QStringLiteral("refused")};
        apply();
        return std::nullopt;
    }
};

}  // namespace korimet::test

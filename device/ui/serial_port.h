#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <optional>

#include "device/settings/port_paths.h"

namespace korimet {

// Line settings as the timer's text gives them: "19200,N,8,1".
struct LineSettings {
    qint32 baudRate = 0;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// Parses "baud,parity,data,stop" (parity N/E/O/M/S, data 5..8, stop 1, 1.5 or 2). None when
// the text is not of that form.
std::optional<LineSettings> parseLineSettings(const QString& text);

// The outcome of one configuration step: empty on success, else why it failed.
struct PortStepError {
    QString cause;
};
using PortStep = std::optional<PortStepError>;

// The serial port as the window sees it: receive only, configured one step at a time in the
// order the opening sequence uses. A step that fails returns its cause and changes nothing.
class SerialPortSurface : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    virtual bool isOpen() const = 0;
    virtual PortStep open() = 0;
    virtual PortStep close() = 0;
    // 1..8; only while closed.
    virtual PortStep setPortNumber(int n) = 0;
    virtual int portNumber() const = 0;
    virtual PortStep setSettings(const QString& settings) = 0;
    // Only bytes mode (1) exists here: Input yields raw bytes, never text.
    virtual PortStep setInputMode(int mode) = 0;
    // bytesReceived is raised once this many bytes or more are waiting; 0 raises nothing.
    virtual PortStep setReceiveThreshold(int bytes) = 0;
    // The most bytes one readAll takes; 0 takes every waiting byte.
    virtual PortStep setInputLength(int bytes) = 0;
    // Removes waiting bytes from the receive buffer, in arrival order.
    virtual QByteArray readAll() = 0;

  signals:
    // Bytes are waiting (the data-received event). Raised on the owner's thread.
    void bytesReceived();
    // The open port went away (cable pulled, device gone). The port is already closed.
    void portLost(int portNumber, const QString& cause);
};

// The surface over QSerialPort.
class SystemSerialPort : public SerialPortSurface {
    Q_OBJECT
  public:
    explicit SystemSerialPort(QObject* parent = nullptr);
    ~SystemSerialPort() override;

    bool isOpen() const override;
    PortStep open() override;
    PortStep close() override;
    PortStep setPortNumber(int n) override;
    int portNumber() const override { return portNumber_; }
    PortStep setSettings(const QString& settings) override;
    PortStep setInputMode(int mode) override;
    PortStep setReceiveThreshold(int bytes) override;
    PortStep setInputLength(int bytes) override;
    QByteArray readAll() override;

  private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort* port_;  // child
    int portNumber_ = kFirstPort;
    int receiveThreshold_ = 0;
    int inputLength_ = 0;
};

}  // namespace korimet

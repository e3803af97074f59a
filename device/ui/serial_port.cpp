#include "device/ui/serial_port.h"

#include <QStringList>

namespace korimet {

std::optional<LineSettings> parseLineSettings(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) return std::nullopt;
    LineSettings s;

    const QString& baud = parts[0];
    if (baud.isEmpty()) return std::nullopt;
    for (QChar c : baud) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    }
    bool ok = false;
    s.baudRate = baud.toInt(&ok);
    if (!ok || s.baudRate <= 0) return std::nullopt;

    const QString parity = parts[1].toUpper();
    if (parity == QLatin1String("N")) {
        s.parity = QSerialPort::NoParity;
    } else if (parity == QLatin1String("E")) {
        s.parity = QSerialPort::EvenParity;
    } else if (parity == QLatin1String("O")) {
        s.parity = QSerialPort::OddParity;
    } else if (parity == QLatin1String("M")) {
        s.parity = QSerialPort::MarkParity;
    } else if (parity == QLatin1String("S")) {
        s.parity = QSerialPort::SpaceParity;
    } else {
        return std::nullopt;
    }

    const QString& data = parts[2];
    if (data == QLatin1String("5")) {
        s.dataBits = QSerialPort::Data5;
    } else if (data == QLatin1String("6")) {
        s.dataBits = QSerialPort::Data6;
    } else if (data == QLatin1String("7")) {
        s.dataBits = QSerialPort::Data7;
    } else if (data == QLatin1String("8")) {
        s.dataBits = QSerialPort::Data8;
    } else {
        return std::nullopt;
    }

    const QString& stop = parts[3];
    if (stop == QLatin1String("1")) {
        s.stopBits = QSerialPort::OneStop;
    } else if (stop == QLatin1String("1.5")) {
        s.stopBits = QSerialPort::OneAndHalfStop;
    } else if (stop == QLatin1String("2")) {
        s.stopBits = QSerialPort::TwoStop;
    } else {
        return std::nullopt;
    }
    return s;
}

SystemSerialPort::SystemSerialPort(QObject* parent)
    : SerialPortSurface(parent), port_(new QSerialPort(this)) {
    connect(port_, &QSerialPort::readyRead, this, &SystemSerialPort::onReadyRead);
    connect(port_, &QSerialPort::errorOccurred, this, &SystemSerialPort::onError);
}

SystemSerialPort::~SystemSerialPort() {
    // The child outlives this part of the object; its last signals must not reach it.
    port_->disconnect(this);
    port_->close();
}

bool SystemSerialPort::isOpen() const { return port_->isOpen(); }

PortStep SystemSerialPort::open() {
    if (port_->isOpen()) return PortStepError{QStringLiteral("the port is already open")};
    port_->setPortName(portDevicePath(portNumber_));
    if (!port_->open(QIODevice::ReadOnly)) {
        return PortStepError{port_->portName() + QStringLiteral(": ") + port_->errorString()};
    }
    return std::nullopt;
}

PortStep SystemSerialPort::close() {
    port_->close();
    return std::nullopt;
}

PortStep SystemSerialPort::setPortNumber(int n) {
    if (port_->isOpen()) return PortStepError{QStringLiteral("the port is open")};
    if (n < kFirstPort || n > kLastPort) {
        return PortStepError{QStringLiteral("port number %1 is out of range").arg(n)};
    }
    portNumber_ = n;
    return std::nullopt;
}

PortStep SystemSerialPort::setSettings(const QString& settings) {
    const std::optional<LineSettings> s = parseLineSettings(settings);
    if (!s) return PortStepError{QStringLiteral("invalid line settings \"%1\"").arg(settings)};
    // While closed these only take note; open() applies them all.
    if (!port_->setBaudRate(s->baudRate) || !port_->setParity(s->parity) ||
        !port_->setDataBits(s->dataBits) || !port_->setStopBits(s->stopBits)) {
        return PortStepError{port_->errorString()};
    }
    return std::nullopt;
}

PortStep SystemSerialPort::setInputMode(int mode) {
    if (mode != 1) return PortStepError{QStringLiteral("input mode %1 is not supported").arg(mode)};
    return std::nullopt;
}

PortStep SystemSerialPort::setReceiveThreshold(int bytes) {
    if (bytes < 0) return PortStepError{QStringLiteral("negative receive threshold")};
    receiveThreshold_ = bytes;
    return std::nullopt;
}

PortStep SystemSerialPort::setInputLength(int bytes) {
    if (bytes < 0) return PortStepError{QStringLiteral("negative input length")};
    inputLength_ = bytes;
    return std::nullopt;
}

QByteArray SystemSerialPort::readAll() {
    if (!port_->isOpen()) return {};
    return inputLength_ == 0 ? port_->readAll() : port_->read(inputLength_);
}

void SystemSerialPort::onReadyRead() {
    if (receiveThreshold_ > 0 && port_->bytesAvailable() >= receiveThreshold_) {
        emit bytesReceived();
    }
}

void SystemSerialPort::onError(QSerialPort::SerialPortError error) {
    // A vanished device (USB cable pulled, the far end of a pseudo-terminal closed) keeps
    // the port readable with nothing to read: QSerialPort then reports ResourceError or
    // ReadError on every turn of the event loop until the port is closed. So close it here
    // and now; what was received before the loss still goes to the owner first.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) return;
    if (!port_->isOpen()) return;
    const QString cause = port_->errorString();
    if (receiveThreshold_ > 0 && port_->bytesAvailable() > 0) emit bytesReceived();
    if (!port_->isOpen()) return;  // the owner closed it meanwhile
    port_->close();
    emit portLost(portNumber_, cause);
}

}  // namespace korimet

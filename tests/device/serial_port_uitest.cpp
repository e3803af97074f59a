#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSerialPort>
#include <QSettings>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "device/frame_encoder.h"
#include "device/frame_receiver.h"
#include "device/ui/device_texts.h"
#include "device/ui/port_selection.h"
#include "device/ui/serial_port.h"
#include "support/fake_port.h"
#include "support/pty.h"

namespace korimet {
namespace {

using test::Pty;
using test::settle;
using test::waitUntil;

void pointPortAt(int n, const QString& path) {
    QSettings().setValue(QStringLiteral("Ports/") + portName(n), path);
}

FrameBytes sampleFrame(std::uint8_t carId) {
    LapData d;
    d.carId = carId;
    d.lapCount = 3;
    d.laps[0] = 25.31;
    d.laps[1] = 24.87;
    d.laps[2] = 26.02;
    d.targetTime = 25.0;
    d.raceMinutes = 8;
    return encodeFrame(frameFieldsFor(d, 2, 12));
}

struct Message {
    QString text;
    QString title;
};

QString utf8(const char* s) { return QString::fromUtf8(s); }

// ---------------------------------------------------------------------------------------
// The settings text.

struct SettingsCase {
    const char* text;
    bool valid;
    qint32 baud;
    QSerialPort::Parity parity;
    QSerialPort::DataBits data;
    QSerialPort::StopBits stop;
};

TEST(LineSettingsTest, ParsesBaudParityDataStop) {
    const SettingsCase cases[] = {
        {"19200,N,8,1", true, 19200, QSerialPort::NoParity, QSerialPort::Data8,
         QSerialPort::OneStop},
        {"9600,E,7,2", true, 9600, QSerialPort::EvenParity, QSerialPort::Data7,
         QSerialPort::TwoStop},
        {"1200,o,5,1.5", true, 1200, QSerialPort::OddParity, QSerialPort::Data5,
         QSerialPort::OneAndHalfStop},
        {"300,M,6,1", true, 300, QSerialPort::MarkParity, QSerialPort::Data6, QSerialPort::OneStop},
        {"115200,S,8,1", true, 115200, QSerialPort::SpaceParity, QSerialPort::Data8,
         QSerialPort::OneStop},
        {"", false, 0, {}, {}, {}},
        {"19200,N,8", false, 0, {}, {}, {}},
        {"19200,N,8,1,1", false, 0, {}, {}, {}},
        {"0,N,8,1", false, 0, {}, {}, {}},
        {"-19200,N,8,1", false, 0, {}, {}, {}},
        {"19k2,N,8,1", false, 0, {}, {}, {}},
        {" 19200,N,8,1", false, 0, {}, {}, {}},
        {"99999999999,N,8,1", false, 0, {}, {}, {}},
        {"19200,X,8,1", false, 0, {}, {}, {}},
        {"19200,,8,1", false, 0, {}, {}, {}},
        {"19200,N,9,1", false, 0, {}, {}, {}},
        {"19200,N,4,1", false, 0, {}, {}, {}},
        {"19200,N,8,3", false, 0, {}, {}, {}},
        {"19200,N,8,0", false, 0, {}, {}, {}},
    };
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = parseLineSettings(QString::fromLatin1(c.text));
        ASSERT_EQ(parsed.has_value(), c.valid);
        if (!c.valid) continue;
        EXPECT_EQ(parsed->baudRate, c.baud);
        EXPECT_EQ(parsed->parity, c.parity);
        EXPECT_EQ(parsed->dataBits, c.data);
        EXPECT_EQ(parsed->stopBits, c.stop);
    }
}

// ---------------------------------------------------------------------------------------
// Where COMn lives, and the texts.

class PortsSettings : public ::testing::Test {
  protected:
    void SetUp() override { QSettings().remove(QStringLiteral("Ports")); }
    void TearDown() override { QSettings().remove(QStringLiteral("Ports")); }
};

TEST_F(PortsSettings, DevicePathDefaultsToTtySAndFollowsTheSettings) {
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        EXPECT_EQ(portDevicePath(n), QStringLiteral("/dev/ttyS%1").arg(n - 1));
    }
    pointPortAt(3, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(portDevicePath(3), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(portDevicePath(2), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(portDevicePath(4), QStringLiteral("/dev/ttyS3"));
}

TEST(DeviceTextsTest, MessagesAreTheExactTexts) {
    EXPECT_EQ(openFailureText(1, EntryPoint::Menu),
              utf8("ポートが開けません(COM1)\r\n他のポートをお試しください"));
    EXPECT_EQ(openFailureText(8, EntryPoint::Menu),
              utf8("ポートが開けません(COM8)\r\n他のポートをお試しください"));
    EXPECT_EQ(openFailureText(2, EntryPoint::Combo),
              utf8("ポートが開けません\r\n他のポートをお試しください"));
    EXPECT_TRUE(portLostText(5).startsWith(utf8("通信ポートが切断されました(COM5)\r\n")));
}

// ---------------------------------------------------------------------------------------
// The opening sequence, step by step, over a recording surface.

using test::RecordingSurface;

TEST(OpenPortSequence, ClosesConfiguresAndOpensInOrder) {
    for (bool wasOpen : {false, true}) {
        SCOPED_TRACE(wasOpen);
        RecordingSurface port;
        port.open_ = wasOpen;
        std::vector<Message> messages;
        const OpenPortResult r =
            openPort(port, 3, EntryPoint::Menu, [&](const QString& t, const QString& title) {
                messages.push_back({t, title});
            });
        QStringList expected;
        if (wasOpen) expected << "close";
        expected << "port 3"
                 << "settings 19200,N,8,1"
                 << "mode 1"
                 << "threshold 1"
                 << "length 0"
                 << "open";
        EXPECT_EQ(port.steps, expected);
        EXPECT_TRUE(r.opened);
        EXPECT_EQ(r.comboIndex, 2);
        EXPECT_TRUE(port.isOpen());
        EXPECT_TRUE(messages.empty());
    }
}

TEST(OpenPortSequence, AFailingStepEndsTheSequenceThere) {
    const char* all[] = {"close",    "port 6", "settings 19200,N,8,1", "mode 1", "threshold 1",
                         "length 0", "open"};
    for (EntryPoint from : {EntryPoint::Menu, EntryPoint::Combo}) {
        for (std::size_t failing = 0; failing < std::size(all); ++failing) {
            SCOPED_TRACE(all[failing]);
            RecordingSurface port;
            port.open_ = true;
            port.failAt = QString::fromLatin1(all[failing]);
            std::vector<Message> messages;
            const OpenPortResult r =
                openPort(port, 6, from, [&](const QString& t, const QString& title) {
                    messages.push_back({t, title});
                });
            EXPECT_FALSE(r.opened);
            EXPECT_FALSE(r.comboIndex.has_value());
            EXPECT_EQ(r.cause, QStringLiteral("refused"));
            // Nothing after the failing step ran (a retried close is allowed).
            QStringList ran = port.steps;
            ASSERT_GE(ran.size(), static_cast<qsizetype>(failing + 1));
            for (std::size_t i = 0; i <= failing; ++i) EXPECT_EQ(ran[i], all[i]);
            for (qsizetype i = failing + 1; i < ran.size(); ++i) EXPECT_EQ(ran[i], "close");
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].text, openFailureText(6, from));
            EXPECT_EQ(messages[0].title, QStringLiteral("Korimet"));
            if (failing > 0) {
                EXPECT_FALSE(port.isOpen());
            }
        }
    }
}

TEST(OpenPortSequence, ComboPickSuccessLeavesTheComboAlone) {
    RecordingSurface port;
    const OpenPortResult r = openPort(port, 4, EntryPoint::Combo, {});
    EXPECT_TRUE(r.opened);
    EXPECT_FALSE(r.comboIndex.has_value());
    EXPECT_EQ(port.number, 4);
}

// ---------------------------------------------------------------------------------------
// Through a real pseudo-terminal.

class SerialPty : public PortsSettings {
  protected:
    void SetUp() override {
        PortsSettings::SetUp();
        ASSERT_TRUE(pty.ok());
        pointPortAt(1, pty.path());
        QObject::connect(&port, &SerialPortSurface::bytesReceived, [this] {
            ++receiveEvents;
            const QByteArray bytes = port.readAll();
            received += bytes;
            for (char c : bytes) {
                if (auto f = receiver.feedByte(static_cast<std::uint8_t>(c))) frames.push_back(*f);
            }
        });
    }

    OpenPortResult pick(int n, EntryPoint from = EntryPoint::Menu) {
        return selection.openPort(n, from);
    }

    QSerialPort* qport() { return port.findChild<QSerialPort*>(); }

    Pty pty;
    SystemSerialPort port;
    std::vector<Message> messages;
    PortSelection selection{port, [this](const QString& t, const QString& title) {
                                messages.push_back({t, title});
                            }};
    FrameReceiver receiver;
    QByteArray received;
    std::vector<DecodedFrame> frames;
    int receiveEvents = 0;
};

TEST_F(SerialPty, AWholeFrameArrivesAndDecodes) {
    const OpenPortResult r = pick(1);
    ASSERT_TRUE(r.opened) << r.failedStep.toStdString() << ": " << r.cause.toStdString();
    EXPECT_EQ(r.comboIndex, 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(qport()->baudRate(), 19200);
    EXPECT_EQ(qport()->parity(), QSerialPort::NoParity);
    EXPECT_EQ(qport()->dataBits(), QSerialPort::Data8);
    EXPECT_EQ(qport()->stopBits(), QSerialPort::OneStop);
    EXPECT_EQ(qport()->openMode(), QIODevice::ReadOnly);

    const FrameBytes frame = sampleFrame(42);
    ASSERT_TRUE(pty.write(frame.data(), frame.size()));
    ASSERT_TRUE(waitUntil([&] { return frames.size() == 1; }));
    EXPECT_EQ(received, QByteArray(reinterpret_cast<const char*>(frame.data()), frame.size()));
    EXPECT_EQ(frames[0].data.carId, 42);
    EXPECT_EQ(frames[0].data.lapCount, 3);
    EXPECT_DOUBLE_EQ(frames[0].data.laps[1], 24.87);
    EXPECT_EQ(frames[0].modelCaption, "Quintrel");
    EXPECT_TRUE(messages.empty());
}

TEST_F(SerialPty, SmallPiecesArriveInOrderAndDecode) {
    ASSERT_TRUE(pick(1).opened);
    // Noise first, then two frames cut in pieces of 1 to 7 bytes, the event loop running
    // between the pieces.
    std::vector<std::uint8_t> stream = {0x00, 0x12, 0xFF, 0x00};
    for (std::uint8_t car : {7, 9}) {
        const FrameBytes f = sampleFrame(car);
        stream.insert(stream.end(), f.begin(), f.end());
    }
    std::size_t at = 0;
    std::size_t piece = 1;
    while (at < stream.size()) {
        const std::size_t n = std::min(piece, stream.size() - at);
        ASSERT_TRUE(pty.write(stream.data() + at, n));
        at += n;
        ASSERT_TRUE(waitUntil([&] { return received.size() == static_cast<qsizetype>(at); }));
        piece = piece % 7 + 1;
    }
    EXPECT_EQ(received, QByteArray(reinterpret_cast<const char*>(stream.data()), stream.size()));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].data.carId, 7);
    EXPECT_EQ(frames[1].data.carId, 9);
    EXPECT_GT(receiveEvents, 2);
}

TEST_F(SerialPty, PickingTheOpenPortAgainClosesAndReopensIt) {
    ASSERT_TRUE(pick(1).opened);
    QObject context;  // drops the counting connection before the locals go
    int closes = 0;
    QObject::connect(qport(), &QIODevice::aboutToClose, &context, [&] { ++closes; });
    const OpenPortResult again = pick(1);
    EXPECT_TRUE(again.opened);
    EXPECT_EQ(again.comboIndex, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(messages.empty());

    const FrameBytes frame = sampleFrame(11);
    ASSERT_TRUE(pty.write(frame.data(), frame.size()));
    ASSERT_TRUE(waitUntil([&] { return frames.size() == 1; }));
    EXPECT_EQ(frames[0].data.carId, 11);
}

TEST_F(SerialPty, AFailedPickNamesThePortAndLeavesNothingOpen) {
    pointPortAt(2, QStringLiteral("/nonexistent/korimet-test-tty"));
    for (bool afterGoodPick : {false, true}) {
        SCOPED_TRACE(afterGoodPick);
        messages.clear();
        if (afterGoodPick) {
            ASSERT_TRUE(pick(1).opened);
        }
        const OpenPortResult r = pick(2);
        EXPECT_FALSE(r.opened);
        EXPECT_FALSE(r.comboIndex.has_value());
        EXPECT_EQ(r.failedStep, QStringLiteral("open"));
        EXPECT_TRUE(r.cause.contains(QStringLiteral("/nonexistent/korimet-test-tty")));
        EXPECT_FALSE(port.isOpen());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, utf8("ポートが開けません(COM2)\r\n他のポートをお試しください"));
        EXPECT_EQ(messages[0].title, QStringLiteral("Korimet"));
    }
    // Bytes from the far end no longer reach anyone.
    const FrameBytes frame = sampleFrame(1);
    ASSERT_TRUE(pty.write(frame.data(), frame.size()));
    settle();
    EXPECT_TRUE(received.isEmpty());
}

TEST_F(SerialPty, AFailedComboPickHasNoPortNameInItsMessage) {
    pointPortAt(2, QStringLiteral("/nonexistent/korimet-test-tty"));
    ASSERT_TRUE(pick(1, EntryPoint::Combo).opened);
    const OpenPortResult r = pick(2, EntryPoint::Combo);
    EXPECT_FALSE(r.opened);
    EXPECT_FALSE(port.isOpen());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, utf8("ポートが開けません\r\n他のポートをお試しください"));
}

TEST_F(SerialPty, APartFrameContinuesOnTheNextPort) {
    Pty second;
    ASSERT_TRUE(second.ok());
    pointPortAt(5, second.path());
    ASSERT_TRUE(pick(1).opened);
    const FrameBytes frame = sampleFrame(21);
    ASSERT_TRUE(pty.write(frame.data(), 100));
    ASSERT_TRUE(waitUntil([&] { return received.size() == 100; }));
    ASSERT_TRUE(pick(5).opened);
    ASSERT_TRUE(second.write(frame.data() + 100, frame.size() - 100));
    ASSERT_TRUE(waitUntil([&] { return frames.size() == 1; }));
    EXPECT_EQ(frames[0].data.carId, 21);
}

TEST_F(SerialPty, AVanishedPortIsClosedAndReportedOnce) {
    ASSERT_TRUE(pick(1).opened);
    QObject context;
    int readErrors = 0;  // a vanished device reports ResourceError or ReadError
    int otherErrors = 0;
    QObject::connect(qport(), &QSerialPort::errorOccurred, &context,
                     [&](QSerialPort::SerialPortError e) {
                         if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError) {
                             ++readErrors;
                         } else if (e != QSerialPort::NoError) {
                             ++otherErrors;
                         }
                     });
    std::vector<int> lost;
    QObject::connect(&selection, &PortSelection::portLost, &context,
                     [&](int n) { lost.push_back(n); });

    // Bytes sent just before the far end goes still reach the owner.
    const FrameBytes frame = sampleFrame(33);
    ASSERT_TRUE(pty.write(frame.data(), frame.size()));
    ASSERT_TRUE(waitUntil([&] { return frames.size() == 1; }));
    pty.closeMaster();
    ASSERT_TRUE(waitUntil([&] { return !lost.empty(); }));
    settle();

    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(lost, std::vector<int>{1});
    EXPECT_EQ(readErrors, 1);
    EXPECT_EQ(otherErrors, 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, portLostText(1));
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("COM1")));
    EXPECT_EQ(messages[0].title, QStringLiteral("Korimet"));

    // Plugged in again (a new device behind the same name): a later pick opens it.
    Pty replugged;
    ASSERT_TRUE(replugged.ok());
    pointPortAt(1, replugged.path());
    messages.clear();
    ASSERT_TRUE(pick(1).opened);
    const FrameBytes next = sampleFrame(34);
    ASSERT_TRUE(replugged.write(next.data(), next.size()));
    ASSERT_TRUE(waitUntil([&] { return frames.size() == 2; }));
    EXPECT_EQ(frames[1].data.carId, 34);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace korimet

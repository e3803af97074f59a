#include <gtest/gtest.h>

#include <locale.h>
#include <string.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QSettings>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "device/ui/port_selection.h"
#include "device/ui/serial_port.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/ui/lap_grid.h"
#include "shell/ui/main_window.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
#include "support/pty.h"
#include "support/window_fixture.h"

namespace korimet {
namespace {

using test::FakeDialogs;
using test::Pty;
using test::settle;
using test::waitUntil;

constexpr char kMissingDevice[] = "/nonexistent/korimet-test-tty";

void pointPortAt(int n, const QString& path) {
    QSettings().setValue(QStringLiteral("Ports/") + portName(n), path);
}

QString utf8(const char* s) { return QString::fromUtf8(s); }

// The window with its real serial port, COM1 behind a pseudo-terminal, COM2 missing.
class PortCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        ASSERT_TRUE(pty.ok());
        pointPortAt(1, pty.path());
        pointPortAt(2, QString::fromLatin1(kMissingDevice));
        window = test::windowWithFakeDialogs(dialogs);
    }
    void TearDown() override {
        window.reset();
        QSettings().clear();
    }

    SerialPortSurface& port() const { return *window->findChild<SerialPortSurface*>(); }
    QComboBox& combo() const { return *window->findChild<QComboBox*>("Combo1"); }
    QString label(const char* name) const { return window->findChild<QLabel*>(name)->text(); }
    const LapGrid& grid() const { return *window->findChild<LapGrid*>("MSFlexGrid1"); }

    std::vector<QString> messages() const {
        std::vector<QString> texts;
        for (const auto& call : dialogs->calls) {
            if (call.kind == FakeDialogs::Kind::Message) texts.push_back(call.text);
        }
        return texts;
    }

    // A user's pick in the combo: the list opened, the entry highlighted, Enter.
    void userPicksComboEntry(int index) {
        combo().showPopup();
        QAbstractItemView* list = combo().view();
        ASSERT_TRUE(list->isVisible());
        list->setCurrentIndex(combo().model()->index(index, 0));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(list, &enter);
        EXPECT_FALSE(list->isVisible());
        EXPECT_EQ(combo().currentIndex(), index);
    }

    void turnWheelOverCombo(int steps) {
        const QPointF at(combo().width() / 2.0, combo().height() / 2.0);
        for (int i = 0; i < std::abs(steps); ++i) {
            QWheelEvent wheel(at, combo().mapToGlobal(at), QPoint(),
                              QPoint(0, steps < 0 ? -120 : 120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&combo(), &wheel);
        }
    }

    static bool send(Pty& to, const QByteArray& bytes, qsizetype piece = 0) {
        if (piece <= 0) piece = bytes.size();
        for (qsizetype at = 0; at < bytes.size(); at += piece) {
            const QByteArray part = bytes.mid(at, piece);
            if (!to.write(reinterpret_cast<const std::uint8_t*>(part.constData()),
                          static_cast<std::size_t>(part.size()))) {
                return false;
            }
            // Let the window take each piece in its own receive event.
            QCoreApplication::processEvents();
        }
        return true;
    }

    bool shows(const LapData& run) const { return window->currentData() == run; }

    Pty pty;
    std::unique_ptr<MainWindow> window;
    FakeDialogs* dialogs = nullptr;  // owned by the window
};

// The same run in every split, through the pseudo-terminal and the real port code.
TEST_F(PortCommandsTest, AFrameOnTheLineReachesLabelsAndGridInAnySplit) {
    window->deviceLink().openPortFromMenu(1);
    ASSERT_TRUE(port().isOpen());
    EXPECT_EQ(combo().currentText(), "COM1");
    std::uint8_t car = 20;
    for (qsizetype piece : {134, 1, 5, 67, 100}) {
        SCOPED_TRACE(piece);
        LapData run = test::runOfLaps(10 + static_cast<int>(piece % 40), 63.0, 17);
        run.carId = ++car;
        // Noise first: it must not disturb the frame that follows.
        ASSERT_TRUE(
            send(pty, QByteArray("\x01\x02\xFF\x00", 4) + test::frameFor(run, 2, 15), piece));
        ASSERT_TRUE(waitUntil([&] { return shows(run); }));
        EXPECT_EQ(label("Label2"), "Quintrel");
        EXPECT_EQ(label("Label3"), "Ver1.5");
        const LapView view = buildLapView(run);
        EXPECT_EQ(label("Label5").toStdString(), view.lapCountText);
        EXPECT_EQ(label("Label4").toStdString(), view.carText);
        for (int r = 0; r < LapGrid::kRows; ++r) {
            for (int c = 0; c < LapGrid::kColumns; ++c) {
                EXPECT_EQ(grid().textMatrix(r, c).toStdString(),
                          view.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                    << r << "," << c;
            }
        }
        EXPECT_TRUE(window->currentFileName().isEmpty());
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(PortCommandsTest, TwoFramesInOneWriteAreEachShown) {
    window->deviceLink().openPortFromMenu(1);
    // The second model code leaves Label2 alone: "Belto" shows only if the first frame was
    // shown before the second was fed.
    const LapData first = test::runWithLaps({61.0, 62.0});
    const LapData second = test::runWithLaps({70.5}, 80.0);
    ASSERT_TRUE(send(pty, test::frameFor(first, 10, 12) + test::frameFor(second, 5, 30)));
    ASSERT_TRUE(waitUntil([&] { return shows(second); }));
    EXPECT_EQ(label("Label2"), "Belto");
    EXPECT_EQ(label("Label3"), "Ver3.0");
}

TEST_F(PortCommandsTest, TheMenuOnTheOpenPortReopensItWithoutAMessage) {
    window->deviceLink().openPortFromMenu(1);
    ASSERT_TRUE(port().isOpen());
    QObject context;
    int closes = 0;
    QObject::connect(port().findChild<QIODevice*>(), &QIODevice::aboutToClose, &context,
                     [&] { ++closes; });
    window->deviceLink().openPortFromMenu(1);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(port().isOpen());
    EXPECT_EQ(combo().currentText(), "COM1");
    EXPECT_TRUE(messages().empty());
    const LapData run = test::runWithLaps({30.0, 31.0}, kNoTargetTime, 0, 99);
    ASSERT_TRUE(send(pty, test::frameFor(run)));
    EXPECT_TRUE(waitUntil([&] { return shows(run); }));
}

TEST_F(PortCommandsTest, AFailedMenuPickNamesThePortAndKeepsTheComboText) {
    for (bool afterGoodPick : {false, true}) {
        SCOPED_TRACE(afterGoodPick);
        dialogs->calls.clear();
        if (afterGoodPick) window->deviceLink().openPortFromMenu(1);
        const QString comboBefore = combo().currentText();
        window->deviceLink().openPortFromMenu(2);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0], utf8("ポートが開けません(COM2)\r\n他のポートをお試しください"));
        EXPECT_EQ(dialogs->calls[0].title, "Korimet");
        EXPECT_EQ(dialogs->calls[0].icon, MessageIcon::None);
        EXPECT_FALSE(port().isOpen());
        EXPECT_EQ(combo().currentText(), comboBefore);
    }
    EXPECT_EQ(combo().currentText(), "COM1");
    // Nothing from the line reaches the window any more.
    const LapData before = window->currentData();
    ASSERT_TRUE(send(pty, test::frameFor(test::runWithLaps({40.0}))));
    settle();
    EXPECT_EQ(window->currentData(), before);
}

TEST_F(PortCommandsTest, TheComboPickOpensThePortAndItsFailureNamesNoPort) {
    userPicksComboEntry(0);
    ASSERT_TRUE(port().isOpen());
    EXPECT_EQ(port().portNumber(), 1);
    const LapData run = test::runWithLaps({44.0, 45.5});
    ASSERT_TRUE(send(pty, test::frameFor(run)));
    ASSERT_TRUE(waitUntil([&] { return shows(run); }));

    userPicksComboEntry(1);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], utf8("ポートが開けません\r\n他のポートをお試しください"));
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(combo().currentText(), "COM2");
}

TEST_F(PortCommandsTest, SettingTheComboFromCodeOpensNothing) {
    combo().setCurrentIndex(0);
    settle();
    EXPECT_FALSE(port().isOpen());
    EXPECT_TRUE(messages().empty());
}

// Scrolling past the closed box, or arrow keys on it, must neither open nor close a port.
TEST_F(PortCommandsTest, WheelAndArrowsOnTheClosedComboOpenNothing) {
    combo().setFocus();
    turnWheelOverCombo(-3);  // down: COM1, COM2, COM3 in turn before the guard
    settle();
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(combo().currentIndex(), -1);
    EXPECT_EQ(combo().currentText(), utf8("通信ポート"));
    for (const int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_End}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&combo(), &press);
    }
    settle();
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(combo().currentIndex(), -1);

    // An open port stays open and stays the one shown.
    userPicksComboEntry(0);
    ASSERT_TRUE(port().isOpen());
    turnWheelOverCombo(-2);
    turnWheelOverCombo(3);
    settle();
    EXPECT_TRUE(port().isOpen());
    EXPECT_EQ(port().portNumber(), 1);
    EXPECT_EQ(combo().currentText(), "COM1");
    EXPECT_TRUE(messages().empty());
    const LapData run = test::runWithLaps({44.0, 45.5});
    ASSERT_TRUE(send(pty, test::frameFor(run)));
    EXPECT_TRUE(waitUntil([&] { return shows(run); }));
}

TEST_F(PortCommandsTest, AMouseClickInTheOpenListOpensThePort) {
    combo().showPopup();
    QAbstractItemView* list = combo().view();
    ASSERT_TRUE(list->isVisible());
    const QPoint at = list->visualRect(combo().model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(waitUntil([&] { return port().isOpen(); }));
    EXPECT_EQ(port().portNumber(), 1);
    EXPECT_EQ(combo().currentText(), "COM1");
    EXPECT_TRUE(messages().empty());
}

TEST_F(PortCommandsTest, AFailedPickWritesTheSystemsCauseToStandardError) {
    testing::internal::CaptureStderr();
    window->deviceLink().openPortFromMenu(2);
    const std::string log = testing::internal::GetCapturedStderr();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], openFailureText(2, EntryPoint::Menu));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find("COM2"), std::string::npos) << log;
    EXPECT_NE(log.find(kMissingDevice), std::string::npos) << log;
    // The system's words as the port reports them, which are not the locale's.
    const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    EXPECT_NE(log.find(strerror_l(ENOENT, c)), std::string::npos) << log;
    freelocale(c);
}

TEST_F(PortCommandsTest, ComboEntriesShowTheirDeviceAsTooltip) {
    ASSERT_EQ(combo().count(), kLastPort);
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        EXPECT_EQ(combo().itemData(n - 1, Qt::ToolTipRole).toString(), portDevicePath(n)) << n;
    }
    EXPECT_EQ(combo().itemData(0, Qt::ToolTipRole).toString(), pty.path());
    EXPECT_EQ(combo().itemData(2, Qt::ToolTipRole).toString(), "/dev/ttyS2");
}

TEST_F(PortCommandsTest, APartFrameContinuesOnTheNextPort) {
    Pty second;
    ASSERT_TRUE(second.ok());
    pointPortAt(5, second.path());
    window->deviceLink().openPortFromMenu(1);
    const LapData run = test::runWithLaps({50.0, 51.0, 52.0}, 51.0, 8, 33);
    const QByteArray frame = test::frameFor(run, 1, 10);
    ASSERT_TRUE(send(pty, frame.left(90)));
    settle();
    window->deviceLink().openPortFromMenu(5);
    ASSERT_TRUE(port().isOpen());
    EXPECT_EQ(combo().currentText(), "COM5");
    ASSERT_TRUE(send(second, frame.mid(90)));
    ASSERT_TRUE(waitUntil([&] { return shows(run); }));
    EXPECT_EQ(label("Label2"), "Ferrow");
}

TEST_F(PortCommandsTest, AClosedFarEndIsReportedAndTheWindowCarriesOn) {
    window->deviceLink().openPortFromMenu(1);
    const LapData run = test::runWithLaps({27.0, 28.0});
    ASSERT_TRUE(send(pty, test::frameFor(run)));
    ASSERT_TRUE(waitUntil([&] { return shows(run); }));
    pty.closeMaster();
    ASSERT_TRUE(waitUntil([&] { return !messages().empty(); }));
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], portLostText(1));
    EXPECT_TRUE(messages()[0].contains("COM1"));
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(window->currentData(), run);

    // Plugged in again behind the same name: a later pick opens it.
    Pty replugged;
    ASSERT_TRUE(replugged.ok());
    pointPortAt(1, replugged.path());
    window->deviceLink().openPortFromMenu(1);
    ASSERT_TRUE(port().isOpen());
    const LapData next = test::runWithLaps({29.0}, kNoTargetTime, 0, 3);
    ASSERT_TRUE(send(replugged, test::frameFor(next)));
    EXPECT_TRUE(waitUntil([&] { return shows(next); }));
    EXPECT_EQ(messages().size(), 1u);
}

// A cable pulled mid-frame: the cut frame is dropped, so the first frame after the
// reconnection decodes whole.
TEST_F(PortCommandsTest, AFrameCutByALostPortDoesNotSwallowTheNext) {
    window->deviceLink().openPortFromMenu(1);
    const LapData cut = test::runWithLaps({50.0, 51.0, 52.0}, 51.0, 8, 33);
    ASSERT_TRUE(send(pty, test::frameFor(cut).left(90)));
    settle();
    pty.closeMaster();
    ASSERT_TRUE(waitUntil([&] { return !messages().empty(); }));
    EXPECT_EQ(messages()[0], portLostText(1));

    Pty replugged;
    ASSERT_TRUE(replugged.ok());
    pointPortAt(1, replugged.path());
    window->deviceLink().openPortFromMenu(1);
    ASSERT_TRUE(port().isOpen());
    const LapData next = test::runWithLaps({29.0, 30.5}, kNoTargetTime, 0, 3);
    ASSERT_TRUE(send(replugged, test::frameFor(next)));
    EXPECT_TRUE(waitUntil([&] { return shows(next); }));
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(PortCommandsTest, ClosingTheWindowClosesThePort) {
    window->show();
    window->deviceLink().openPortFromMenu(1);
    ASSERT_TRUE(port().isOpen());
    window->close();
    EXPECT_FALSE(port().isOpen());
}

}  // namespace
}  // namespace korimet

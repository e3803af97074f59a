#include <gtest/gtest.h>

#include <QComboBox>
#include <QSettings>
#include <QWidget>
#include <vector>

#include "device/ui/device_link.h"
#include "session/run_session.h"
#include "support/fake_dialogs.h"
#include "support/fake_port.h"
#include "support/frames.h"

namespace korimet {
namespace {

using test::FakeDialogs;
using test::frameFor;
using test::RecordingSurface;
using test::runWithLaps;

// The device link alone: a session, fake dialogs, a bare widget for the combo box and a
// port the test feeds.
class DeviceLinkAlone : public ::testing::Test {
  protected:
    void SetUp() override { QSettings().clear(); }

    RunSession session;
    FakeDialogs dialogs;
    QWidget host;
    RecordingSurface* port = new RecordingSurface;  // adopted by the link
    DeviceLink link{session, dialogs, host, port};
};

TEST_F(DeviceLinkAlone, EachGoodFrameOnTheLineBecomesTheSessionsRun) {
    std::vector<RunChange> changes;
    std::vector<LapData> runs;
    QObject::connect(&session, &RunSession::runReplaced, [&](const RunChange& change) {
        changes.push_back(change);
        runs.push_back(session.currentData());
    });
    QByteArray line = "noise" + frameFor(runWithLaps({61.0, 60.5}), 1, 12);
    QByteArray broken = frameFor(runWithLaps({70.0}));
    broken[broken.size() - 1] = static_cast<char>(broken[broken.size() - 1] ^ 0x55);
    line += broken + frameFor(runWithLaps({59.0}), 1, 13);
    // In two pieces, split inside the second good frame.
    port->deliver(line.left(line.size() - 40));
    port->deliver(line.mid(line.size() - 40));

    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], runWithLaps({61.0, 60.5}));
    EXPECT_EQ(runs[1], runWithLaps({59.0}));
    for (const RunChange& change : changes) {
        EXPECT_EQ(change.origin, RunOrigin::Timer);
        EXPECT_TRUE(change.fileName.isEmpty());
    }
    EXPECT_EQ(session.sourceCaption(), "Ver1.3");
    EXPECT_FALSE(session.modelCaption().isEmpty());
}

TEST_F(DeviceLinkAlone, ALostPortDropsTheFrameItCut) {
    const QByteArray frame = frameFor(runWithLaps({61.0}));
    port->deliver(frame.left(50));
    emit port->portLost(1, "gone");
    port->deliver(frame.mid(50));  // the rest alone is no frame
    EXPECT_EQ(session.currentData(), LapData{});
    port->deliver(frame);
    EXPECT_EQ(session.currentData(), runWithLaps({61.0}));
}

TEST_F(DeviceLinkAlone, AMenuPickOpensThePortAndTheComboFollows) {
    QComboBox& combo = link.portCombo();
    EXPECT_EQ(combo.parentWidget(), &host);
    EXPECT_EQ(combo.objectName(), "Combo1");
    EXPECT_EQ(combo.count(), 8);
    EXPECT_EQ(combo.currentIndex(), -1);

    link.openPortFromMenu(3);
    EXPECT_TRUE(port->isOpen());
    EXPECT_EQ(port->portNumber(), 3);
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_TRUE(dialogs.calls.empty());

    // A refused pick is told and leaves no port open; the combo keeps the last good pick.
    port->failAt = "open";
    link.openPortFromMenu(5);
    EXPECT_FALSE(port->isOpen());
    EXPECT_EQ(combo.currentIndex(), 2);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].text.contains("COM5"));

    port->failAt.clear();
    link.openPortFromMenu(1);
    link.closePortIfOpen();
    EXPECT_FALSE(port->isOpen());
}

}  // namespace
}  // namespace korimet

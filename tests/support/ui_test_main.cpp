#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Keep the user's own settings out of reach of the tests.
    QTemporaryDir configHome;
    setenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);
    // Nor their data: the run library's default folder and the trash live there.
    QTemporaryDir dataHome;
    setenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Korimet");
    QCoreApplication::setApplicationName("Korimet");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

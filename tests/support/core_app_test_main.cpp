#include <gtest/gtest.h>

#include <QCoreApplication>

// Tests of Qt objects without a display: sockets and timers need an event loop, which the
// tests run themselves for a bounded time.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

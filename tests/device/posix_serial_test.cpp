#include "device/posix_serial.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <cerrno>

namespace korimet {
namespace {

// What the timer's line needs, read back from a real terminal (a pseudo-terminal) that
// started out in the usual cooked, echoing state.
TEST(TimerLine, TerminalReadsBackAs19200N81Raw) {
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    termios cooked{};
    ASSERT_EQ(::tcgetattr(slave, &cooked), 0);
    cooked.c_lflag |= ICANON | ECHO | ISIG;
    cooked.c_iflag |= ICRNL | IXON | IXOFF;
    cooked.c_cflag |= PARENB | CSTOPB;
    ASSERT_EQ(::tcsetattr(slave, TCSANOW, &cooked), 0);

    ASSERT_TRUE(setTimerLine(slave));
    termios line{};
    ASSERT_EQ(::tcgetattr(slave, &line), 0);
    EXPECT_EQ(::cfgetispeed(&line), B19200);
    EXPECT_EQ(::cfgetospeed(&line), B19200);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);  // bytes pass untouched
    EXPECT_EQ(line.c_iflag & (ICRNL | IXON | IXOFF | IXANY | ISTRIP), 0u);
    EXPECT_EQ(line.c_cc[VMIN], 1);
    EXPECT_EQ(line.c_cc[VTIME], 0);

    // Not a terminal: refused, and the caller learns why.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    EXPECT_FALSE(setTimerLine(pipeFds[0]));
    EXPECT_EQ(errno, ENOTTY);
    for (int fd : {master, slave, pipeFds[0], pipeFds[1]}) ::close(fd);
}

}  // namespace
}  // namespace korimet

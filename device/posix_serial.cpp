#include "device/posix_serial.h"

namespace korimet {

void makeTimerLine(termios& line) {
    ::cfmakeraw(&line);
    ::cfsetspeed(&line, B19200);
    line.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    line.c_iflag &= ~(IXON | IXOFF | IXANY);
    // A read returns as soon as one byte is there.
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
}

bool setTimerLine(int fd) {
    termios line{};
    if (::tcgetattr(fd, &line) != 0) return false;
    makeTimerLine(line);
    return ::tcsetattr(fd, TCSANOW, &line) == 0;
}

}  // namespace korimet

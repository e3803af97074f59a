#pragma once

#include <termios.h>

// The timer's line on a POSIX terminal: 19200 baud, 8 data bits, no parity, 1 stop bit,
// no flow control, bytes passed through untouched. Shared by every program that opens the
// line without Qt (the command-line listener, the timer emulator).
namespace korimet {

// Makes `line` the timer's settings, keeping nothing of what it held.
void makeTimerLine(termios& line);

// Puts the terminal `fd` into the timer's settings. False (errno set) when it cannot.
bool setTimerLine(int fd);

}  // namespace korimet

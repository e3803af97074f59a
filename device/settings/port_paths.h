#pragma once

#include <QString>

// Port names and where they live. QtCore only: the command-line tool uses it without a
// display.
namespace korimet {

inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 8;

// "COM1" for 1.
QString portName(int n);

// Where COMn lives: on Windows the name itself; elsewhere the path stored in the settings
// (group Ports, key COMn), by default /dev/ttyS<n-1>.
QString portDevicePath(int n);

}  // namespace korimet

#pragma once

// The command-line sheet: korimet-sheet RUN.krt [--pdf OUT.pdf] [--png OUT.png [--width PX]]
// [--compare OTHER.krt]. Reads the files first, so a refused file costs no Qt start-up;
// then draws on the offscreen platform. Exit 0, or 2 with a message on standard error.
namespace korimet {

inline constexpr int kDefaultPictureWidth = 1600;
inline constexpr int kMinPictureWidth = 200;
inline constexpr int kMaxPictureWidth = 8000;

int runSheetCommand(int& argc, char** argv);

}  // namespace korimet

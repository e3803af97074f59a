#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korimet::pit {

// Letters and digits a person reads off a screen without mixing them up (no 0/O, 1/I/L).
inline constexpr std::string_view kCodeAlphabet = "23456789ABCDEFGHJKMNPQRSTUVWXYZ";
inline constexpr std::size_t kCodeLength = 6;

// A new code from `random`, which returns uniformly distributed 32-bit values (the caller's
// std::random_device in the programs, a fixed sequence in tests).
std::string newAccessCode(const std::function<std::uint32_t()>& random);

// Whether `given` is the code, in a time that does not depend on where they differ.
bool codeMatches(std::string_view given, std::string_view code);

}  // namespace korimet::pit

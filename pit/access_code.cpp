#include "pit/access_code.h"

namespace korimet::pit {

std::string newAccessCode(const std::function<std::uint32_t()>& random) {
    // Rejection keeps every letter equally likely: 2^32 is not a multiple of the alphabet.
    constexpr std::uint64_t kSpan = 1ULL << 32;
    constexpr std::uint64_t kLimit = kSpan - kSpan % kCodeAlphabet.size();
    std::string code;
    while (code.size() < kCodeLength) {
        const std::uint32_t value = random();
        if (value >= kLimit) continue;
        code.push_back(kCodeAlphabet[value % kCodeAlphabet.size()]);
    }
    return code;
}

bool codeMatches(std::string_view given, std::string_view code) {
    if (code.empty() || given.size() != code.size()) return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < code.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ code[i]);
    return difference == 0;
}

}  // namespace korimet::pit

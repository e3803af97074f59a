#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "pit/request_check.h"

// Who gets one of the server's connections when they run short, and who may still guess the
// code. Addresses are whatever the server names them by; times are milliseconds of a clock
// that only goes forward.
namespace korimet::pit {

struct SlotHolder {
    std::string address;
    bool live = false;  // a page's live connection is never taken away
};

struct Admission {
    enum Kind { Room, Evict, Refuse } kind = Room;
    std::size_t victim = 0;  // with Evict: the holder that gives way, the oldest that may
};

// Holders oldest first. A share counts the connections still waiting for a request with the
// code; pages that showed it are never pushed out nor counted against their address. A
// newcomer takes the oldest waiting connection of its own address when that address has its
// share, or of the address with the most waiting when all slots are taken and that address
// has more than the newcomer's would; else it gets a free slot, or is refused. So one
// stranger's crowd of slow connections pushes out only itself.
Admission admit(const std::vector<SlotHolder>& holders, std::string_view address,
                const PitLimits& limits);

class GuessGuard {
  public:
    explicit GuessGuard(PitLimits limits) : limits_(limits) {}

    // Whether requests from the address are refused unheard until `now` passes the lockout.
    bool lockedOut(const std::string& address, std::int64_t now) const;
    void wrongCode(const std::string& address, std::int64_t now);
    void rightCode(const std::string& address);

    // Addresses kept at most; beyond it the ones not locked out are forgotten first.
    static constexpr std::size_t kMaxAddresses = 4096;
    static constexpr std::int64_t kMaxLockoutMilliseconds = 15 * 60 * 1000;

  private:
    struct Guesses {
        int wrong = 0;
        int lockouts = 0;
        std::int64_t until = 0;
    };
    PitLimits limits_;
    std::map<std::string, Guesses> byAddress_;
};

}  // namespace korimet::pit

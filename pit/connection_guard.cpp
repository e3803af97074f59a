#include "pit/connection_guard.h"

#include <algorithm>

namespace korimet::pit {

namespace {

// Connections that have not shown the code yet; a page's live connection has.
std::size_t waitingOf(const std::vector<SlotHolder>& holders, std::string_view address) {
    return static_cast<std::size_t>(
        std::count_if(holders.begin(), holders.end(),
                      [&](const SlotHolder& h) { return h.address == address && !h.live; }));
}

Admission oldestWaiting(const std::vector<SlotHolder>& holders, std::string_view address) {
    for (std::size_t i = 0; i < holders.size(); ++i) {
        if (holders[i].address == address && !holders[i].live) return {Admission::Evict, i};
    }
    return {Admission::Refuse, 0};
}

}  // namespace

Admission admit(const std::vector<SlotHolder>& holders, std::string_view address,
                const PitLimits& limits) {
    const std::size_t own = waitingOf(holders, address);
    if (own >= static_cast<std::size_t>(std::max(1, limits.maxPerAddress)))
        return oldestWaiting(holders, address);
    if (holders.size() < static_cast<std::size_t>(std::max(1, limits.maxConnections)))
        return {Admission::Room, 0};
    std::map<std::string_view, std::size_t> counts;
    for (const SlotHolder& h : holders) {
        if (!h.live) ++counts[h.address];
    }
    std::string_view heaviest;
    std::size_t most = 0;
    for (const auto& [a, n] : counts) {
        if (n > most) {
            most = n;
            heaviest = a;
        }
    }
    if (most <= own + 1) return {Admission::Refuse, 0};
    return oldestWaiting(holders, heaviest);
}

bool GuessGuard::lockedOut(const std::string& address, std::int64_t now) const {
    const auto it = byAddress_.find(address);
    return it != byAddress_.end() && now < it->second.until;
}

void GuessGuard::wrongCode(const std::string& address, std::int64_t now) {
    if (byAddress_.size() >= kMaxAddresses && byAddress_.find(address) == byAddress_.end()) {
        std::erase_if(byAddress_, [now](const auto& entry) { return now >= entry.second.until; });
        if (byAddress_.size() >= kMaxAddresses) byAddress_.erase(byAddress_.begin());
    }
    Guesses& g = byAddress_[address];
    if (++g.wrong < std::max(1, limits_.freeGuesses)) return;
    // Each lockout twice the last: a few typos cost half a minute, a search costs forever.
    std::int64_t lockout = std::max(1, limits_.lockoutMilliseconds);
    for (int i = 0; i < g.lockouts && lockout < kMaxLockoutMilliseconds; ++i) lockout *= 2;
    g.until = now + std::min(lockout, kMaxLockoutMilliseconds);
    ++g.lockouts;
    g.wrong = 0;
}

void GuessGuard::rightCode(const std::string& address) { byAddress_.erase(address); }

}  // namespace korimet::pit

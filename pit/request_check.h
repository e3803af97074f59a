#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every request is judged here before the HTTP server sees a byte of it, so that whatever a
// stranger sends ends in a 4xx or a served page, never in something the server library does
// on its own (closing without an answer, buffering without end).
namespace korimet::pit {

struct PitLimits {
    std::size_t maxHeadBytes = 8192;  // request line and headers
    std::size_t maxTargetBytes = 512;
    int maxHeaders = 48;
    int maxConnections = 64;      // at once, pages and scripts together
    int headMilliseconds = 5000;  // to send a whole request head, and idle time between requests
    int maxPendingHeads = 8;      // requests sent ahead of their answers
    int maxPerAddress = 16;       // one phone, laptop or stranger's share of the connections
    // Answers a script asked for and has not taken; past it, it is cut off. (A page that
    // falls behind is sent only the newest state once it catches up.)
    std::size_t maxUnsentBytes = 1024 * 1024;
    int stallMilliseconds = 20000;    // a live page that takes nothing for this long is gone
    int freeGuesses = 10;             // wrong codes from one address before it is locked out
    int lockoutMilliseconds = 30000;  // the first lockout; each further one doubles, to 15 min
};

// What the pit view serves; everything else is 404.
enum class Resource { Page, State, Live };

// 0 with a resource: serve it. Otherwise the 4xx to answer before closing.
struct Verdict {
    int status = 0;
    Resource resource = Resource::Page;
    bool closeAfter = false;   // HTTP/1.0 or "Connection: close": one answer, then close
    bool wrongCode = false;    // a code was given and it was not the code
    std::string webSocketKey;  // the live connection's Sec-WebSocket-Key
    bool passes() const { return status == 0; }
};

// One complete request head (request line and headers, up to and including the empty line).
Verdict judgeHead(std::string_view head, std::string_view code, const PitLimits& limits);

// The bytes a connection has sent, judged head by head. Whoever serves takes the verdicts
// from here and nothing else: no byte reaches a parser that was not judged. A line end must
// be CR LF; a bare CR or LF is refused at once, so no reader can see a different head.
class RequestScanner {
  public:
    explicit RequestScanner(std::string code, PitLimits limits = {})
        : code_(std::move(code)), limits_(limits) {}

    // Takes newly arrived bytes. 0 while everything so far passes (an unfinished head waits),
    // else the 4xx that ends the connection; once refused, it stays refused.
    int take(std::string_view bytes);
    // The verdicts of the heads completed since the last call, in order; a refusal is last.
    std::vector<Verdict> takeVerdicts();
    // After the upgrade: the bytes that came behind its head, the first WebSocket frames.
    std::string takeRest();

    // A head in progress, whose deadline is running.
    bool midRequest() const { return !pending_.empty(); }
    // The last head that passed asked for the live connection: what follows is WebSocket
    // frames, not HTTP.
    bool upgraded() const { return upgraded_; }
    int headsPassed() const { return heads_; }

  private:
    std::string code_;
    PitLimits limits_;
    std::string pending_;
    std::vector<Verdict> verdicts_;
    char last_ = 0;
    int refused_ = 0;
    int heads_ = 0;
    bool upgraded_ = false;
};

// The value of one query parameter, percent-decoded; empty when absent or malformed.
std::string queryValue(std::string_view query, std::string_view name);

}  // namespace korimet::pit

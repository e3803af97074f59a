#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "pit/connection_guard.h"
#include "pit/request_check.h"
#include "pit/web_socket.h"

// What the server owns of a connection, by tables and random cases: which heads pass, the
// frames a page may send, who gets a slot and who may still guess.
namespace korimet::pit {
namespace {

constexpr const char* kCode = "K7M2QX";
const std::string kUpgrade =
    "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
    "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";

std::string request(const std::string& target, const std::string& headers = "",
                    const std::string& version = "HTTP/1.1") {
    return "GET " + target + " " + version + "\r\nHost: h\r\n" + headers + "\r\n";
}

std::vector<int> statuses(RequestScanner& scanner) {
    std::vector<int> out;
    for (const Verdict& v : scanner.takeVerdicts()) out.push_back(v.status);
    return out;
}

TEST(RequestScanner, RefusesABareLineEndAtOnce) {
    struct Case {
        std::string bytes;
        std::vector<int> verdicts;
    } cases[] = {
        // Nothing more needs to come for these to be refused.
        {"GET /state.json HTTP/1.1\nHost: x\n\n", {400}},
        {"GET /state.json?code=K7M2QX HTTP/1.1\n", {400}},
        {"GET /state.json?code=K7M2QX HTTP/1.1\r\nHost: x\r\rX", {400}},
        {"GET /?code=K7M2QX HTTP/1.1\r\nHost: x\r\n\n", {400}},
        // A good head, then a code-less one with bare line ends on the same connection.
        {request("/state.json?code=K7M2QX") + "GET /state.json HTTP/1.1\nHost: x\n\n", {0, 400}},
        {request("/state.json?code=K7M2QX") + "\n", {0, 400}},
        // A CR at the end may still be followed by its LF.
        {"GET /?code=K7M2QX HTTP/1.1\r", {}},
    };
    for (const Case& c : cases) {
        RequestScanner scanner(kCode);
        scanner.take(c.bytes);
        EXPECT_EQ(statuses(scanner), c.verdicts) << c.bytes;
    }
}

TEST(RequestScanner, SaysHowToAnswer) {
    struct Case {
        std::string head;
        Resource resource;
        bool closeAfter;
    } cases[] = {
        {request("/?code=K7M2QX"), Resource::Page, false},
        {request("/state.json?code=K7M2QX", "Connection: close\r\n"), Resource::State, true},
        {request("/state.json?code=K7M2QX", "Connection: keep-alive, Close\r\n"), Resource::State,
         true},
        {request("/state.json?code=K7M2QX", "", "HTTP/1.0"), Resource::State, true},
        {request("/state.json?code=K7M2QX", "Connection: keep-alive\r\n", "HTTP/1.0"),
         Resource::State, false},
        {request("/live?code=K7M2QX", kUpgrade), Resource::Live, false},
    };
    for (const Case& c : cases) {
        RequestScanner scanner(kCode);
        ASSERT_EQ(scanner.take(c.head), 0) << c.head;
        const auto verdicts = scanner.takeVerdicts();
        ASSERT_EQ(verdicts.size(), 1u);
        EXPECT_EQ(verdicts[0].resource, c.resource) << c.head;
        EXPECT_EQ(verdicts[0].closeAfter, c.closeAfter) << c.head;
    }
    RequestScanner live(kCode);
    live.take(request("/live?code=K7M2QX", kUpgrade) + "\x81\x80rest");
    EXPECT_EQ(live.takeVerdicts().at(0).webSocketKey, "dGhlIHNhbXBsZSBub25jZQ==");
    EXPECT_EQ(live.takeRest(), "\x81\x80rest");

    // Only a code that was given and wrong is a guess.
    for (const auto& [target, guess] : std::vector<std::pair<std::string, bool>>{
             {"/state.json", false}, {"/state.json?code=", false}, {"/?code=ABCDEF", true}}) {
        RequestScanner scanner(kCode);
        EXPECT_EQ(scanner.take(request(target)), 403);
        EXPECT_EQ(scanner.takeVerdicts().at(0).wrongCode, guess) << target;
    }
    // A live head without the handshake's key or version is no handshake.
    for (const std::string& headers :
         {std::string("Upgrade: websocket\r\nConnection: Upgrade\r\n"),
          std::string("Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: "
                      "8\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"),
          std::string("Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: "
                      "13\r\nSec-WebSocket-Key: short==\r\n")}) {
        EXPECT_EQ(RequestScanner(kCode).take(request("/live?code=K7M2QX", headers)), 400);
    }
}

// Requests of every kind, good and bad, then bytes changed at random.
std::string randomRequest(std::mt19937& engine) {
    static const std::vector<std::string> targets = {
        "/?code=K7M2QX", "/state.json?code=K7M2QX", "/state.json",   "/",
        "/?code=WRONG2", "/live?code=K7M2QX",       "/x?code=K7M2QX"};
    static const std::vector<std::string> extras = {"", "Connection: close\r\n", kUpgrade,
                                                    "Content-Length: 3\r\n", "X: y\r\n"};
    std::string r = request(targets[engine() % targets.size()], extras[engine() % extras.size()],
                            engine() % 4 == 0 ? "HTTP/1.0" : "HTTP/1.1");
    const int mutations = static_cast<int>(engine() % 4);
    for (int m = 0; m < mutations && !r.empty(); ++m) {
        const std::size_t at = engine() % r.size();
        switch (engine() % 5) {
            case 0:
                r[at] = static_cast<char>(engine());
                break;
            case 1:
                r.erase(at, 1);
                break;
            case 2:
                r.insert(at, 1, "\r\n :\0"[engine() % 5]);
                break;
            case 3: {
                // Bare line ends instead of CR LF, as some clients and every attacker send.
                const std::size_t cr = r.find('\r', at);
                if (cr != std::string::npos) r.erase(cr, 1);
                break;
            }
            default:
                r.insert(at, r.substr(at, engine() % 20));
        }
    }
    return r;
}

TEST(RequestScanner, NothingWithoutTheCodePassesHoweverSplitOrChanged) {
    std::mt19937 engine(2812);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int count = 1 + static_cast<int>(engine() % 4);
        for (int i = 0; i < count; ++i) bytes += randomRequest(engine);

        RequestScanner whole(kCode);
        whole.take(bytes);
        const std::vector<Verdict> expected = whole.takeVerdicts();

        RequestScanner pieces(kCode);
        std::vector<Verdict> got;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t n = 1 + engine() % 9;
            pieces.take(std::string_view(bytes).substr(at, n));
            for (Verdict& v : pieces.takeVerdicts()) got.push_back(std::move(v));
            at += n;
        }
        ASSERT_EQ(got.size(), expected.size()) << bytes;
        std::size_t passed = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].status, expected[i].status) << bytes;
            if (got[i].passes()) ++passed;
        }
        // Every head that passed carried the code on a line of its own request.
        std::size_t withCode = 0;
        for (std::size_t at = 0; (at = bytes.find("code=K7M2QX", at)) != std::string::npos; ++at)
            ++withCode;
        EXPECT_LE(passed, withCode) << bytes;
    }
}

std::string maskedFrame(std::uint8_t first, std::string_view payload, std::uint32_t mask) {
    std::string frame(1, static_cast<char>(first));
    if (payload.size() < 126) {
        frame.push_back(static_cast<char>(0x80 | payload.size()));
    } else {
        frame.push_back(static_cast<char>(0x80 | 126));
        frame.push_back(static_cast<char>(payload.size() >> 8));
        frame.push_back(static_cast<char>(payload.size()));
    }
    const char key[4] = {static_cast<char>(mask >> 24), static_cast<char>(mask >> 16),
                         static_cast<char>(mask >> 8), static_cast<char>(mask)};
    frame.append(key, 4);
    for (std::size_t i = 0; i < payload.size(); ++i)
        frame.push_back(static_cast<char>(payload[i] ^ key[i % 4]));
    return frame;
}

TEST(FrameReader, ReadsWhatABrowserSendsHoweverItArrives) {
    std::mt19937 engine(6455);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::pair<Opcode, std::string>> sent;
        std::string bytes;
        const int count = 1 + static_cast<int>(engine() % 6);
        for (int i = 0; i < count; ++i) {
            const Opcode opcode =
                std::vector<Opcode>{Opcode::Text, Opcode::Ping, Opcode::Pong}[engine() % 3];
            std::string payload(engine() % (opcode == Opcode::Text ? 1025 : 126), '\0');
            for (char& c : payload) c = static_cast<char>(engine());
            bytes += maskedFrame(0x80 | static_cast<std::uint8_t>(opcode), payload,
                                 static_cast<std::uint32_t>(engine()));
            sent.emplace_back(opcode, payload);
        }
        bytes += maskedFrame(0x88, "\x03\xE8", 0x01020304);
        sent.emplace_back(Opcode::Close, "\x03\xE8");
        bytes += maskedFrame(0x81, "after the close", 7);

        FrameReader reader;
        std::vector<FrameReader::Frame> got;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t n = 1 + engine() % 300;
            for (auto& f : reader.take(std::string_view(bytes).substr(at, n)))
                got.push_back(std::move(f));
            at += n;
        }
        EXPECT_EQ(reader.fault(), 0);
        EXPECT_TRUE(reader.closed());
        ASSERT_EQ(got.size(), sent.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].opcode, sent[i].first);
            EXPECT_EQ(got[i].payload, sent[i].second);
        }
    }
}

TEST(FrameReader, EndsOnAnythingOutsideTheProtocol) {
    const std::string unmasked = webSocketFrame(Opcode::Text, "hello");
    struct Case {
        std::string bytes;
        std::uint16_t fault;
    } cases[] = {
        {unmasked, 1002},
        {maskedFrame(0xC1, "rsv", 1), 1002},                    // reserved bit
        {maskedFrame(0x83, "op", 1), 1002},                     // unknown opcode
        {maskedFrame(0x09, "ping", 1), 1002},                   // fragmented control frame
        {maskedFrame(0x89, std::string(126, 'p'), 1), 1002},    // control frame too long
        {maskedFrame(0x81, std::string(1025, 't'), 1), 1009},   // more than a page sends
        {std::string("\x81\xFF\x80\0\0\0\0\0\0\0", 10), 1009},  // a length of 2^63
        {maskedFrame(0x81, "ok", 1) + maskedFrame(0x81, "x", 0).substr(0, 1) + "\x05", 1002},
    };
    for (const Case& c : cases) {
        FrameReader reader;
        reader.take(c.bytes);
        EXPECT_EQ(reader.fault(), c.fault) << testing::PrintToString(c.bytes);
        EXPECT_TRUE(reader.take(maskedFrame(0x81, "more", 1)).empty());
    }
}

TEST(WebSocketFrames, AnswerTheHandshakeAndFrameAnySize) {
    // The handshake's example key and answer.
    EXPECT_EQ(webSocketAccept("dGhlIHNhbXBsZSBub25jZQ=="), "s3pPLMBiTxaQ9kYGzzhZRbK+xOo=");
    EXPECT_EQ(webSocketFrame(Opcode::Text, ""), std::string("\x81\x00", 2));
    EXPECT_EQ(closeFrame(1002), std::string("\x88\x02\x03\xEA", 4));
    for (std::size_t size : {125u, 126u, 65535u, 65536u}) {
        const std::string frame = webSocketFrame(Opcode::Text, std::string(size, 'a'));
        const std::size_t head = size < 126 ? 2 : size <= 65535 ? 4 : 10;
        ASSERT_EQ(frame.size(), head + size);
        std::uint64_t length = static_cast<std::uint8_t>(frame[1]);
        if (head > 2) {
            length = 0;
            for (std::size_t i = 2; i < head; ++i)
                length = (length << 8) | static_cast<std::uint8_t>(frame[i]);
        }
        EXPECT_EQ(length, size);
    }
}

TEST(Admit, GivesEachAddressItsShare) {
    PitLimits limits;
    limits.maxConnections = 6;
    limits.maxPerAddress = 4;
    const auto holders = [](std::vector<std::pair<const char*, bool>> list) {
        std::vector<SlotHolder> out;
        for (auto [a, live] : list) out.push_back({a, live});
        return out;
    };
    struct Case {
        std::vector<SlotHolder> holders;
        const char* newcomer;
        Admission::Kind kind;
        std::size_t victim;
    } cases[] = {
        {holders({{"a", false}}), "b", Admission::Room, 0},
        // Its own share full: its own oldest waiting connection gives way, never a live one.
        {holders({{"a", true}, {"a", false}, {"a", false}, {"a", false}, {"a", false}}), "a",
         Admission::Evict, 1},
        // Pages that showed the code do not count against their address.
        {holders({{"a", true}, {"a", true}, {"a", true}, {"a", true}}), "a", Admission::Room, 0},
        // All taken: the crowd's oldest gives way to a newcomer from elsewhere.
        {holders(
             {{"b", false}, {"a", false}, {"a", false}, {"a", false}, {"a", false}, {"c", false}}),
         "d", Admission::Evict, 1},
        // All taken fairly: nobody is pushed out for a newcomer who would then hold as many.
        {holders(
             {{"a", false}, {"a", false}, {"b", false}, {"b", false}, {"c", false}, {"c", false}}),
         "c", Admission::Refuse, 0},
        {holders({{"a", true}, {"a", true}, {"a", true}, {"b", true}, {"b", true}, {"b", true}}),
         "c", Admission::Refuse, 0},
    };
    for (const Case& c : cases) {
        const Admission got = admit(c.holders, c.newcomer, limits);
        EXPECT_EQ(got.kind, c.kind) << c.newcomer << " among " << c.holders.size();
        if (c.kind == Admission::Evict) {
            EXPECT_EQ(got.victim, c.victim);
        }
    }
}

TEST(GuessGuard, LocksOutRepeatedGuessesLongerEachTime) {
    PitLimits limits;
    limits.freeGuesses = 3;
    limits.lockoutMilliseconds = 1000;
    GuessGuard guard(limits);
    std::int64_t now = 0;
    std::vector<std::int64_t> lockouts;
    for (int round = 0; round < 12; ++round) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(guard.lockedOut("stranger", now));
            guard.wrongCode("stranger", now);
        }
        std::int64_t until = now;
        while (guard.lockedOut("stranger", until)) until += 100;
        lockouts.push_back(until - now);
        now = until;
    }
    EXPECT_EQ(lockouts[0], 1000);
    EXPECT_EQ(lockouts[1], 2000);
    EXPECT_EQ(lockouts[2], 4000);
    EXPECT_EQ(lockouts.back(), GuessGuard::kMaxLockoutMilliseconds);
    // Others are not held back by a stranger's guesses, and a right code forgives a typo.
    EXPECT_FALSE(guard.lockedOut("mechanic", now - 1));
    guard.wrongCode("mechanic", now);
    guard.wrongCode("mechanic", now);
    guard.rightCode("mechanic");
    guard.wrongCode("mechanic", now);
    EXPECT_FALSE(guard.lockedOut("mechanic", now));
}

}  // namespace
}  // namespace korimet::pit

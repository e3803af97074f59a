#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "pit/access_code.h"
#include "pit/pit_state.h"
#include "pit/request_check.h"
#include "support/double_press.h"
#include "support/files.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace korimet::pit {
namespace {

TEST(AccessCode, IsShortReadableAndUniform) {
    std::mt19937 engine(22);
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const std::string code =
            newAccessCode([&] { return static_cast<std::uint32_t>(engine()); });
        ASSERT_EQ(code.size(), kCodeLength);
        for (char c : code) EXPECT_NE(kCodeAlphabet.find(c), std::string_view::npos) << code;
        seen.insert(code);
    }
    EXPECT_GT(seen.size(), 190u);
    // Values from the uneven top of the 32-bit range are drawn again, not folded in.
    std::vector<std::uint32_t> values = {0xFFFFFFFFu, 0, 1, 2, 3, 4, 5};
    std::size_t next = 0;
    EXPECT_EQ(newAccessCode([&] { return values[next++]; }), "234567");
}

TEST(AccessCode, MatchesOnlyTheWholeCode) {
    struct Case {
        const char* given;
        const char* code;
        bool match;
    } cases[] = {
        {"ABC234", "ABC234", true},   {"abc234", "ABC234", false}, {"ABC23", "ABC234", false},
        {"ABC2345", "ABC234", false}, {"", "ABC234", false},       {"", "", false},
        {"ABC235", "ABC234", false},
    };
    for (const Case& c : cases) EXPECT_EQ(codeMatches(c.given, c.code), c.match) << c.given;
}

TEST(QueryValue, DecodesOneParameter) {
    struct Case {
        const char* query;
        const char* value;
    } cases[] = {
        {"code=AB23", "AB23"},
        {"x=1&code=AB23&y=2", "AB23"},
        {"code=%41B", "AB"},
        {"code=%4", ""},
        {"code=%ZZ", ""},
        {"codex=AB", ""},
        {"", ""},
        {"code", ""},
        {"code=", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(queryValue(c.query, "code"), c.value) << c.query;
}

constexpr const char* kCode = "K7M2QX";

std::string head(const std::string& requestLine, const std::string& headers = "Host: h\r\n") {
    return requestLine + "\r\n" + headers + "\r\n";
}

TEST(JudgeHead, AnswersEveryBadRequestWithItsFourHundred) {
    const std::string ws =
        "Host: h\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: "
        "13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
    struct Case {
        std::string head;
        int status;
    } cases[] = {
        {head("GET /?code=K7M2QX HTTP/1.1"), 0},
        {head("GET /state.json?code=K7M2QX HTTP/1.1"), 0},
        {head("GET /live?code=K7M2QX HTTP/1.1", ws), 0},
        {head("GET /state.json?code=K7M2QX HTTP/1.0", ""), 0},
        {head("GET / HTTP/1.1"), 403},
        {head("GET /?code=WRONG1 HTTP/1.1"), 403},
        {head("GET /?code=k7m2qx HTTP/1.1"), 403},
        {head("GET /live?code=WRONG1 HTTP/1.1", ws), 403},
        {head("GET /../../etc/passwd?code=K7M2QX HTTP/1.1"), 404},
        {head("GET /%2e%2e/%2e%2e/etc/passwd?code=K7M2QX HTTP/1.1"), 404},
        {head("GET /state.json/../../etc/passwd?code=K7M2QX HTTP/1.1"), 404},
        {head("GET //etc/passwd?code=K7M2QX HTTP/1.1"), 404},
        {head("GET /index.html?code=K7M2QX HTTP/1.1"), 404},
        {head("GET http://h/?code=K7M2QX HTTP/1.1"), 400},
        {head("GET ../etc/passwd HTTP/1.1"), 400},
        {head("POST /?code=K7M2QX HTTP/1.1"), 405},
        {head("DELETE /state.json?code=K7M2QX HTTP/1.1"), 405},
        {head("HEAD /?code=K7M2QX HTTP/1.1"), 405},
        {head("GET /?code=K7M2QX HTTP/2.0"), 400},
        {head("GET /?code=K7M2QX"), 400},
        {head("GET  /?code=K7M2QX HTTP/1.1"), 400},
        {head("G\xC3\x89T /?code=K7M2QX HTTP/1.1"), 400},
        {head("GET /\x01?code=K7M2QX HTTP/1.1"), 400},
        {head("GET /?code=K7M2QX HTTP/1.1", ""), 400},
        {head("GET /?code=K7M2QX HTTP/1.1", "Host: h\r\nHost: i\r\n"), 400},
        {head("GET /?code=K7M2QX HTTP/1.1", "Host: h\r\n folded\r\n"), 400},
        {head("GET /?code=K7M2QX HTTP/1.1", "Host: h\r\nNo colon\r\n"), 400},
        {head("GET /?code=K7M2QX HTTP/1.1", "Host: h\r\nX: a\nb\r\n"), 400},
        {head("GET /?code=K7M2QX HTTP/1.1", std::string("Host: h\r\nX: a\0b\r\n", 18)), 400},
        {head("GET /?code=K7M2QX HTTP/1.1", "Host: h\r\nContent-Length: 5\r\n"), 413},
        {head("GET /?code=K7M2QX HTTP/1.1", "Host: h\r\nContent-Length: 0\r\n"), 0},
        {head("GET /?code=K7M2QX HTTP/1.1", "Host: h\r\nTransfer-Encoding: chunked\r\n"), 413},
        {head("GET /?code=K7M2QX HTTP/1.1",
              "Host: h\r\nContent-Length: 0\r\nContent-Length: 0\r\n"),
         400},
        {head("GET /?code=K7M2QX HTTP/1.1", ws), 400},
        {head("GET /live?code=K7M2QX HTTP/1.1"), 400},
        {head("GET /live?code=K7M2QX HTTP/1.1",
              "Host: h\r\nUpgrade: h2c\r\nConnection: Upgrade\r\n"),
         400},
        {head("GET /?code=K7M2QX&" + std::string(600, 'a') + " HTTP/1.1"), 414},
        {head("GET /?code=K7M2QX HTTP/1.1", "Host: h\r\nX: " + std::string(9000, 'a') + "\r\n"),
         431},
        {head("GET /?code=K7M2QX HTTP/1.1",
              [] {
                  std::string many = "Host: h\r\n";
                  for (int i = 0; i < 60; ++i) many += "X-" + std::to_string(i) + ": 1\r\n";
                  return many;
              }()),
         431},
        {"\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\r\n\r\n", 400},
        {"\r\n\r\n", 400},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(judgeHead(c.head, kCode, PitLimits{}).status, c.status) << c.head;
    }
}

TEST(JudgeHead, NamesWhatPasses) {
    const PitLimits limits;
    EXPECT_EQ(judgeHead(head("GET /?code=K7M2QX HTTP/1.1"), kCode, limits).resource,
              Resource::Page);
    EXPECT_EQ(judgeHead(head("GET /state.json?code=K7M2QX HTTP/1.1"), kCode, limits).resource,
              Resource::State);
}

TEST(JudgeHead, RandomBytesNeverPass) {
    std::mt19937 engine(2212);
    for (int i = 0; i < 2000; ++i) {
        std::string bytes(engine() % 300, '\0');
        for (char& c : bytes) c = static_cast<char>(engine());
        bytes += "\r\n\r\n";
        const int status = judgeHead(bytes, kCode, PitLimits{}).status;
        EXPECT_GE(status, 400);
        EXPECT_LT(status, 500);
    }
}

TEST(RequestScanner, AnyWayOfSplittingGivesTheSameVerdict) {
    const std::string good = head("GET /state.json?code=K7M2QX HTTP/1.1");
    const std::string bad = head("GET /../x?code=K7M2QX HTTP/1.1");
    std::mt19937 engine(7);
    for (const auto& [bytes, status] :
         std::vector<std::pair<std::string, int>>{{good + good, 0}, {good + bad, 404}}) {
        for (int round = 0; round < 50; ++round) {
            RequestScanner scanner(kCode);
            int got = 0;
            std::size_t at = 0;
            while (at < bytes.size()) {
                const std::size_t n = 1 + engine() % 7;
                got = scanner.take(std::string_view(bytes).substr(at, n));
                at += n;
            }
            EXPECT_EQ(got, status);
            if (status == 0) {
                EXPECT_EQ(scanner.headsPassed(), 2);
                EXPECT_FALSE(scanner.midRequest());
            }
        }
    }
}

TEST(RequestScanner, LimitsWhatWaitsAndWhatComesAtOnce) {
    RequestScanner endless(kCode);
    int status = 0;
    for (int i = 0; i < 100 && status == 0; ++i) status = endless.take(std::string(200, 'a'));
    EXPECT_EQ(status, 431);
    EXPECT_EQ(endless.take(head("GET /?code=K7M2QX HTTP/1.1")), 431) << "stays refused";

    std::string many;
    for (int i = 0; i < 20; ++i) many += head("GET /state.json?code=K7M2QX HTTP/1.1");
    EXPECT_EQ(RequestScanner(kCode).take(many), 429);

    RequestScanner live(kCode);
    EXPECT_EQ(live.take(head("GET /live?code=K7M2QX HTTP/1.1",
                             "Host: h\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                             "Sec-WebSocket-Version: 13\r\n"
                             "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n") +
                        "\x81\x85 frame bytes"),
              0);
    EXPECT_TRUE(live.upgraded());
    EXPECT_EQ(live.take("\x88\x80 more frames \r\n\r\n"), 0);
}

LapData randomRun(std::mt19937& engine) {
    LapData d;
    d.carId = static_cast<std::uint8_t>(engine() % 100);
    d.lapCount = static_cast<std::uint8_t>(engine() % 61);
    for (double& lap : d.laps) lap = static_cast<double>(engine() % 100000) / 100.0;
    return d;
}

TEST(PitState, CarriesEveryLapOfRandomRuns) {
    std::mt19937 engine(1022);
    for (int i = 0; i < 200; ++i) {
        PitState state;
        state.shown =
            PitRun{viewRun(randomRun(engine)), "memo " + std::to_string(i) + " \xE3\x81\x82", ""};
        if (i % 2) state.comparison = PitRun{viewRun(randomRun(engine)), "", "/runs/other.krt"};
        const auto j = nlohmann::json::parse(pitStateJson(state));
        const LapData& d = state.shown->run.data;
        const auto& run = j["shown"]["run"];
        ASSERT_EQ(run["carId"], d.carId);
        ASSERT_EQ(run["lapCount"], d.lapCount);
        ASSERT_EQ(run["laps"].size(), std::min<std::size_t>(d.lapCount, d.laps.size()));
        for (std::size_t k = 0; k < run["laps"].size(); ++k)
            EXPECT_EQ(run["laps"][k]["seconds"].get<double>(), d.laps[k]);
        EXPECT_EQ(j["shown"]["memo"], state.shown->memo);
        EXPECT_EQ(j["shown"]["path"], nullptr);
        if (state.comparison) {
            EXPECT_EQ(j["comparison"]["run"]["carId"], state.comparison->run.data.carId);
            EXPECT_EQ(j["comparison"]["path"], "/runs/other.krt");
        } else {
            EXPECT_TRUE(j["comparison"].is_null());
        }
    }
}

TEST(PitState, DayRunsAndEachCarsTrend) {
    LibraryListing listing;
    listing.ok = true;
    auto entry = [](std::string path, LocalTime when, std::optional<int> car, double best) {
        LibraryEntry e;
        e.path = std::move(path);
        e.downloaded = when;
        e.carId = car;
        if (best > 0) {
            e.content = DataFileContent{};
            e.statistics.counted = 3;
            e.statistics.best = best;
            e.confirmedBest = best;
            e.statistics.average = best + 1;
        }
        return e;
    };
    const LocalTime today{2026, 12, 10, 14, 0, 0};
    listing.entries = {
        entry("2026-12-10/150000-car07.krt", {2026, 12, 10, 15, 0, 0}, 7, 31.5),
        entry("2026-12-09/150000-car07.krt", {2026, 12, 9, 15, 0, 0}, 7, 30.0),
        entry("2026-12-10/140000-car07.krt", {2026, 12, 10, 14, 0, 0}, 7, 32.25),
        entry("2026-12-10/141000-car03.krt", {2026, 12, 10, 14, 10, 0}, 3, 29.0),
        entry("2026-12-10/broken.krt", {2026, 12, 10, 16, 0, 0}, std::nullopt, 0),
    };
    PitState state;
    state.day = today;
    state.dayRuns = runsOfDay(listing, today);
    ASSERT_EQ(state.dayRuns.size(), 4u);
    const auto j = nlohmann::json::parse(pitStateJson(state));
    EXPECT_TRUE(j["shown"].is_null());
    EXPECT_EQ(j["day"], "2026-12-10");
    std::vector<std::string> paths;
    for (const auto& r : j["dayRuns"]) paths.push_back(r["path"]);
    EXPECT_EQ(paths, (std::vector<std::string>{
                         "2026-12-10/140000-car07.krt", "2026-12-10/141000-car03.krt",
                         "2026-12-10/150000-car07.krt", "2026-12-10/broken.krt"}));
    EXPECT_FALSE(j["dayRuns"][3]["readable"]);
    EXPECT_TRUE(j["dayRuns"][3]["statistics"].is_null());
    ASSERT_EQ(j["cars"].size(), 2u);
    EXPECT_EQ(j["cars"][0]["carId"], 3);
    EXPECT_EQ(j["cars"][1]["carId"], 7);
    ASSERT_EQ(j["cars"][1]["trend"].size(), 2u);
    EXPECT_EQ(j["cars"][1]["trend"][0]["best"], 32.25);
    EXPECT_EQ(j["cars"][1]["trend"][1]["best"], 31.5);
}

// The day's list and a car's trend give a run's best as its personal best would count it:
// a double press and the lap it shortened are no laps driven.
TEST(PitState, ADoublePressIsNeverARunsBestOfTheDay) {
    test::TempDir dir("korimet-pit");
    const LocalTime when{2026, 12, 10, 9, 0, 0};
    ASSERT_TRUE(keepRun(dir.path().string(), test::doublePressRun(), when));
    PitState state;
    state.day = when;
    state.dayRuns = runsOfDay(scanLibrary(dir.path().string()), when);
    const auto j = nlohmann::json::parse(pitStateJson(state));
    ASSERT_EQ(j["dayRuns"].size(), 1u);
    EXPECT_EQ(j["dayRuns"][0]["statistics"]["best"], 52.19);
    ASSERT_EQ(j["cars"].size(), 1u);
    ASSERT_EQ(j["cars"][0]["trend"].size(), 1u);
    EXPECT_EQ(j["cars"][0]["trend"][0]["best"], 52.19);
}

}  // namespace
}  // namespace korimet::pit

namespace korimet::pit {
namespace {

// Scripts that follow the pit view read the shown run exactly as korimet-cli prints it.
TEST(PitState, ShowsTheRunAsShowJsonPrintsIt) {
    test::TempDir dir("korimet-pit");
    std::mt19937 engine(31);
    for (int i = 0; i < 5; ++i) {
        const LapData data = randomRun(engine);
        const std::string memo = "memo " + std::to_string(i);
        const DataFileWriteResult bytes = writeDataFileBytes(data, memo);
        ASSERT_TRUE(bytes);
        const std::filesystem::path file = dir.path() / ("run" + std::to_string(i) + ".krt");
        test::writeBytes(file, *bytes.bytes);
        const test::CliResult shown = test::runCli("show --json " + test::quoted(file));
        ASSERT_EQ(shown.status, 0);

        PitState state;
        state.shown = PitRun{viewRun(data), memo, std::filesystem::absolute(file).string()};
        auto j = nlohmann::json::parse(pitStateJson(state))["shown"];
        j.erase("statistics");
        EXPECT_EQ(j, nlohmann::json::parse(shown.out));
    }
}

}  // namespace
}  // namespace korimet::pit

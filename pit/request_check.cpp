#include "pit/request_check.h"

#include <algorithm>
#include <cctype>

#include "pit/access_code.h"

namespace korimet::pit {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kHeadEnd = "\r\n\r\n";

bool isTokenChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u)) return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool isToken(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), isTokenChar);
}

// Visible ASCII, as a request target must be; a space or a control byte would split it.
bool isTargetChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7F && c != '#';
}

bool isFieldValueChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return c == '\t' || (u >= 0x20 && u != 0x7F);
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct Headers {
    bool host = false;
    bool body = false;
    bool duplicateLength = false;
    bool upgradeWebSocket = false;
    bool connectionUpgrade = false;
    bool anyUpgrade = false;
};

}  // namespace

std::string queryValue(std::string_view query, std::string_view name) {
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        const std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos || pair.substr(0, eq) != name) continue;
        std::string value;
        const std::string_view raw = pair.substr(eq + 1);
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '+') {
                value.push_back(' ');
            } else if (raw[i] != '%') {
                value.push_back(raw[i]);
            } else {
                if (i + 2 >= raw.size()) return {};
                const int hi = hexDigit(raw[i + 1]);
                const int lo = hexDigit(raw[i + 2]);
                if (hi < 0 || lo < 0) return {};
                value.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
            }
        }
        return value;
    }
    return {};
}

Verdict judgeHead(std::string_view head, std::string_view code, const PitLimits& limits) {
    const auto refuse = [](int status) { return Verdict{status, Resource::Page}; };
    if (head.size() > limits.maxHeadBytes) return refuse(431);
    if (!head.ends_with(kHeadEnd)) return refuse(400);
    if (head.find('\0') != std::string_view::npos) return refuse(400);

    const std::size_t lineEnd = head.find(kLineEnd);
    const std::string_view requestLine = head.substr(0, lineEnd);
    const std::size_t sp1 = requestLine.find(' ');
    const std::size_t sp2 = requestLine.rfind(' ');
    if (sp1 == std::string_view::npos || sp2 == sp1) return refuse(400);
    const std::string_view method = requestLine.substr(0, sp1);
    const std::string_view target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    const std::string_view version = requestLine.substr(sp2 + 1);
    if (!isToken(method)) return refuse(400);
    if (version != "HTTP/1.1" && version != "HTTP/1.0") return refuse(400);
    if (target.empty() || !std::all_of(target.begin(), target.end(), isTargetChar))
        return refuse(400);
    if (method != "GET") return refuse(405);
    if (target.size() > limits.maxTargetBytes) return refuse(414);
    if (target.front() != '/') return refuse(400);

    Headers h;
    int count = 0;
    std::string_view rest = head.substr(lineEnd + kLineEnd.size());
    rest.remove_suffix(kLineEnd.size());  // the empty line
    while (!rest.empty()) {
        const std::size_t end = rest.find(kLineEnd);
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        if (++count > limits.maxHeaders) return refuse(431);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) return refuse(400);
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = trimmed(line.substr(colon + 1));
        // A folded line or a stray CR or LF is how requests get smuggled past a parser.
        if (!isToken(name)) return refuse(400);
        if (!std::all_of(value.begin(), value.end(), isFieldValueChar)) return refuse(400);
        const std::string key = lower(name);
        const std::string v = lower(value);
        if (key == "host") {
            if (h.host) return refuse(400);
            h.host = true;
        } else if (key == "content-length") {
            if (v != "0") h.body = true;
            if (h.duplicateLength) return refuse(400);
            h.duplicateLength = true;
        } else if (key == "transfer-encoding") {
            h.body = true;
        } else if (key == "upgrade") {
            h.anyUpgrade = true;
            h.upgradeWebSocket = v == "websocket";
        } else if (key == "connection") {
            h.connectionUpgrade = v.find("upgrade") != std::string::npos;
        }
    }
    if (version == "HTTP/1.1" && !h.host) return refuse(400);
    if (h.body) return refuse(413);

    const std::size_t question = target.find('?');
    const std::string_view path = target.substr(0, question);
    const std::string_view query =
        question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
    if (!codeMatches(queryValue(query, "code"), code)) return refuse(403);

    Resource resource;
    if (path == "/") {
        resource = Resource::Page;
    } else if (path == "/state.json") {
        resource = Resource::State;
    } else if (path == "/live") {
        resource = Resource::Live;
    } else {
        return refuse(404);
    }
    const bool live = resource == Resource::Live;
    if (live != h.anyUpgrade) return refuse(400);
    if (live && (!h.upgradeWebSocket || !h.connectionUpgrade)) return refuse(400);
    return Verdict{0, resource};
}

int RequestScanner::take(std::string_view bytes) {
    if (refused_ != 0 || upgraded_) return refused_;
    pending_.append(bytes);
    int headsNow = 0;
    for (;;) {
        const std::size_t end = pending_.find(kHeadEnd);
        if (end == std::string::npos) {
            if (pending_.size() > limits_.maxHeadBytes) refused_ = 431;
            return refused_;
        }
        const std::size_t size = end + kHeadEnd.size();
        if (++headsNow > limits_.maxPendingHeads) return refused_ = 429;
        const Verdict verdict =
            judgeHead(std::string_view(pending_).substr(0, size), code_, limits_);
        if (!verdict.passes()) return refused_ = verdict.status;
        ++heads_;
        if (verdict.resource == Resource::Live) {
            // Whatever came after the upgrade request is already the WebSocket's.
            upgraded_ = true;
            pending_.clear();
            return 0;
        }
        pending_.erase(0, size);
    }
}

}  // namespace korimet::pit

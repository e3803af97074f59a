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

Verdict withStatus(int status, Resource resource = Resource::Page) {
    Verdict v;
    v.status = status;
    v.resource = resource;
    return v;
}

struct Headers {
    bool host = false;
    bool body = false;
    bool duplicateLength = false;
    bool upgradeWebSocket = false;
    bool connectionUpgrade = false;
    bool anyUpgrade = false;
    bool close = false;
    bool keepAlive = false;
    std::string webSocketKey;
    bool webSocketVersion = false;
};

bool hasToken(std::string_view list, std::string_view token) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        if (trimmed(list.substr(0, comma)) == token) return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

// 16 bytes in base64, as every client sends.
bool isWebSocketKey(std::string_view key) {
    if (key.size() != 24 || !key.ends_with("==")) return false;
    return std::all_of(key.begin(), key.end() - 2, [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/';
    });
}

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
    const auto refuse = [](int status) { return withStatus(status); };
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
            h.connectionUpgrade = hasToken(v, "upgrade");
            h.close = h.close || hasToken(v, "close");
            h.keepAlive = h.keepAlive || hasToken(v, "keep-alive");
        } else if (key == "sec-websocket-key") {
            if (!h.webSocketKey.empty()) return refuse(400);
            h.webSocketKey = std::string(value);
        } else if (key == "sec-websocket-version") {
            h.webSocketVersion = value == "13";
        }
    }
    if (version == "HTTP/1.1" && !h.host) return refuse(400);
    if (h.body) return refuse(413);

    const std::size_t question = target.find('?');
    const std::string_view path = target.substr(0, question);
    const std::string_view query =
        question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
    const std::string given = queryValue(query, "code");
    if (!codeMatches(given, code)) {
        Verdict wrong = withStatus(403);
        // Only a code given counts as a guess: a page that lost its code guesses nothing.
        wrong.wrongCode = !given.empty();
        return wrong;
    }

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
    if (live && (!h.upgradeWebSocket || !h.connectionUpgrade || version != "HTTP/1.1" ||
                 !h.webSocketVersion || !isWebSocketKey(h.webSocketKey)))
        return refuse(400);
    Verdict passed = withStatus(0, resource);
    passed.closeAfter = h.close || (version == "HTTP/1.0" && !h.keepAlive);
    passed.webSocketKey = live ? h.webSocketKey : std::string();
    return passed;
}

int RequestScanner::take(std::string_view bytes) {
    if (refused_ != 0 || upgraded_) return refused_;
    const auto refuse = [this](int status) {
        refused_ = status;
        verdicts_.push_back(withStatus(status));
        return status;
    };
    const std::size_t from = pending_.size();
    pending_.append(bytes);
    int headsNow = 0;
    std::size_t checked = from;
    for (;;) {
        const std::size_t end = pending_.find(kHeadEnd);
        // Line ends up to the head's end (or all that came) are judged before the head is.
        const std::size_t upTo = end == std::string::npos ? pending_.size() : end + 4;
        for (std::size_t i = checked; i < upTo; ++i) {
            const char c = pending_[i];
            const char before = i > 0 ? pending_[i - 1] : last_;
            if ((c == '\n' && before != '\r') || (before == '\r' && c != '\n')) return refuse(400);
        }
        checked = upTo;
        if (end == std::string::npos) {
            if (pending_.size() > limits_.maxHeadBytes) return refuse(431);
            return refused_;
        }
        const std::size_t size = end + kHeadEnd.size();
        if (++headsNow > limits_.maxPendingHeads) return refuse(429);
        Verdict verdict = judgeHead(std::string_view(pending_).substr(0, size), code_, limits_);
        if (!verdict.passes()) {
            refused_ = verdict.status;
            verdicts_.push_back(std::move(verdict));
            return refused_;
        }
        ++heads_;
        last_ = '\n';
        const bool live = verdict.resource == Resource::Live;
        verdicts_.push_back(std::move(verdict));
        pending_.erase(0, size);
        checked -= size;
        if (live) {
            // Whatever came after the upgrade request is already the WebSocket's.
            upgraded_ = true;
            return 0;
        }
    }
}

std::vector<Verdict> RequestScanner::takeVerdicts() {
    std::vector<Verdict> out;
    out.swap(verdicts_);
    return out;
}

std::string RequestScanner::takeRest() {
    std::string out;
    if (upgraded_) out.swap(pending_);
    return out;
}

}  // namespace korimet::pit

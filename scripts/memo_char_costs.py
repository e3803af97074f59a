#!/usr/bin/env python3
"""Builds files/memo_char_costs.inc, the character model the memo reader uses to tell a
CP932 memo from a UTF-8 one when its bytes are valid as both.

Source: the Japanese manual pages of Debian's manpages-ja package (and the other Japanese
pages installed beside them), every other page in name order; the pages left out are the
held-out text that bench/memo_reading_rates.sh measures the choice on.

  scripts/memo_char_costs.py > files/memo_char_costs.inc
  scripts/memo_char_costs.py --text held-out > sample.txt   # plain text, one line a line

The model: a class for each character (the ranges below, the same as in
files/memo_encoding.cpp), a cost in eighths of a bit for each class following another, and
a cost for each character within its class; characters seen fewer than MIN_COUNT times
get their class's cost for an unseen one. The kanji of JIS level 1 (CP932 889F-9872) are
"common": they are 99.97 % of the kanji in the source. Each of them gets a cost from its
count; every other kanji is "rare", all at one cost.
"""
import collections
import glob
import gzip
import math
import re
import sys

MAN_PAGES = "/usr/share/man/ja/*/*.gz"
MIN_COUNT = 12  # a character seen fewer times is costed as unseen

CLASSES = ["control", "asciiPunct", "digit", "letter", "hiragana", "katakana", "wideSymbol",
           "commonKanji", "rareKanji", "halfwidthKana", "other"]
START = len(CLASSES)  # the row for the memo's first character

# Sizes of the classes, for the cost of a character never seen in its class.
CLASS_SIZE = {"control": 33, "asciiPunct": 33, "digit": 10, "letter": 52, "hiragana": 95,
              "katakana": 96, "wideSymbol": 2400, "rareKanji": 20992, "halfwidthKana": 63,
              "other": 65536}


def base_class(c):
    """The class of a code point, kanji not yet split by count."""
    if c < 0x20 or c == 0x7F:
        return "control"
    if c < 0x7F:
        if 0x30 <= c <= 0x39:
            return "digit"
        if 0x41 <= c <= 0x5A or 0x61 <= c <= 0x7A:
            return "letter"
        return "asciiPunct"
    if 0x3041 <= c <= 0x309F:
        return "hiragana"
    if 0x30A0 <= c <= 0x30FF:
        return "katakana"
    if 0x4E00 <= c <= 0x9FFF:
        return "kanji"
    if 0xFF61 <= c <= 0xFF9F:
        return "halfwidthKana"
    if (0x2010 <= c <= 0x206F or 0x2100 <= c <= 0x27BF or 0x3000 <= c <= 0x303F or
            0x3200 <= c <= 0x33FF or 0xFF01 <= c <= 0xFF60 or 0xFFE0 <= c <= 0xFFEF):
        return "wideSymbol"
    return "other"


ESCAPES = re.compile(r"\\f(\[[^]]*\]|\(..|.)|\\\*(\[[^]]*\]|\(..|.)|\\\(..|\\[&%|^:/,]|"
                     r"\\s[-+]?\d")


def page_text(raw):
    """The words of a groff page: macro names and font escapes dropped."""
    out = []
    for line in raw.splitlines():
        if line.startswith((".\\\"", "'\\\"", '.\\"')):
            continue
        if line.startswith((".", "'")):
            parts = line.split(None, 1)
            line = parts[1] if len(parts) > 1 else ""
        line = ESCAPES.sub("", line).replace("\\-", "-").replace("\\e", "\\")
        line = line.replace('"', "") if line.count('"') == 2 else line
        if line.strip():
            out.append(line)
    return "\n".join(out)


def pages(half):
    names = sorted(glob.glob(MAN_PAGES))
    if not names:
        sys.exit("memo_char_costs.py: no Japanese manual pages; apt-get install manpages-ja")
    for i, name in enumerate(names):
        if i % 2 != (0 if half == "training" else 1):
            continue
        try:
            raw = gzip.open(name).read().decode("utf-8")
        except (OSError, UnicodeDecodeError):
            continue
        yield page_text(raw)


def is_level1(c):
    try:
        code = chr(c).encode("cp932")
    except UnicodeEncodeError:
        return False
    return len(code) == 2 and 0x889F <= code[0] * 256 + code[1] <= 0x9872


LEVEL1 = [c for c in range(0x4E00, 0xA000) if is_level1(c)]


def cost(p):
    return min(255, max(0, round(-math.log2(p) * 8)))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--text":
        for text in pages(sys.argv[2]):
            sys.stdout.write(text + "\n")
        return
    chars = collections.Counter()
    texts = list(pages("training"))
    for text in texts:
        chars.update(ord(c) for c in text)

    def cls(c):
        b = base_class(c)
        if b == "kanji":
            return "commonKanji" if is_level1(c) else "rareKanji"
        return b

    index = {name: i for i, name in enumerate(CLASSES)}
    moves = [[0] * len(CLASSES) for _ in range(START + 1)]
    for text in texts:
        for line in text.split("\n"):
            prev = START
            for c in line + "\n":
                k = index[cls(ord(c))]
                moves[prev][k] += 1
                prev = k
    # Half-width kana are katakana typed narrow: the timer's Windows software knew them
    # well and the manual pages have none, so they move as katakana do.
    kata, half = index["katakana"], index["halfwidthKana"]
    for row in moves:
        row[half] = row[kata]
    moves[half] = list(moves[kata])
    class_total = collections.Counter()
    for c, n in chars.items():
        class_total[cls(c)] += n
    kept = sorted(set(LEVEL1) | {c for c, n in chars.items()
                                 if n >= MIN_COUNT and cls(c) not in ("other", "rareKanji")})

    def unseen(name):
        # Half a count of MIN_COUNT spread over the characters the class has left.
        if name == "halfwidthKana":
            return cost(1 / CLASS_SIZE[name])
        left = max(1, CLASS_SIZE.get(name, 1) - sum(1 for c in kept if cls(c) == name))
        total = class_total[name] or 1
        return cost(min(1.0, (MIN_COUNT / 2) * left / total) / left)

    print("// Generated by scripts/memo_char_costs.py from the Japanese manual pages of")
    print("// manpages-ja; do not edit. Costs in eighths of a bit.")
    print("// clang-format off")
    print("enum class CharClass : unsigned char {")
    print("    " + ", ".join(n[0].upper() + n[1:] for n in CLASSES) + ",")
    print("};")
    print("inline constexpr int kCharClassCount = %d;" % len(CLASSES))
    print("// Row: the class before (the last row: none, the memo's start); column: this one.")
    print("inline constexpr unsigned char kMoveCost[%d][%d] = {" % (START + 1, len(CLASSES)))
    # Each row leans on a prior where it has few counts: the classes' overall shares, and
    # for a rare kanji what follows a common one (a kanji is a kanji in a sentence).
    overall = [sum(moves[r][k] for r in range(START + 1)) + 1 for k in range(len(CLASSES))]
    for r, row in enumerate(moves):
        prior = moves[index["commonKanji"]] if CLASSES[r:r + 1] == ["rareKanji"] else overall
        weight = 200 if prior is not overall else 20
        shares = [(p + 0.5) / (sum(prior) + 0.5 * len(prior)) for p in prior]
        total = sum(row) + weight
        print("    {" + ", ".join(str(cost((n + weight * q) / total)) for n, q in zip(row, shares))
              + "},")
    print("};")
    print("inline constexpr unsigned char kUnseenCost[%d] = {" % len(CLASSES))
    print("    " + ", ".join(str(unseen(n)) if n != "commonKanji" else "0" for n in CLASSES) + ",")
    print("};")
    print("struct CharCost {")
    print("    char16_t c;")
    print("    unsigned char cost;")
    print("};")
    print("// The level-1 kanji and the other characters seen at least %d times, by code point."
          % MIN_COUNT)
    print("inline constexpr CharCost kCharCosts[] = {")
    line = "   "
    for c in kept:
        if cls(c) == "commonKanji":
            p = (chars[c] + 0.5) / (class_total["commonKanji"] + 0.5 * len(LEVEL1))
        else:
            p = chars[c] / class_total[cls(c)]
        item = " {0x%04X, %d}," % (c, cost(p))
        if len(line) + len(item) > 96:
            print(line)
            line = "   "
        line += item
    print(line)
    print("};")
    print("// clang-format on")


if __name__ == "__main__":
    main()

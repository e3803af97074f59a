#include <cstdio>
#include <iostream>
#include <string>

#include "cli/verbs.h"

namespace {

struct Verb {
    const char* name;
    const char* usage;
    int (*run)(const korimet::cli::Args&);
};

constexpr Verb kVerbs[] = {
    {"decode",
     "decode [CAPTURE] [--out DIR]   decode serial bytes, one JSON object per frame;\n"
     "                                            with --out also the next free DIR/run-NNN.krt",
     korimet::cli::decodeVerb},
    {"show", "show [--json] FILE.krt         what File > Open of the file shows",
     korimet::cli::showVerb},
    {"export", "export --csv FILE.krt          one CSV row per counted lap",
     korimet::cli::exportVerb},
    {"simulate", "simulate MINUTES FILE.krt      the race line of a race of MINUTES minutes",
     korimet::cli::simulateVerb},
    {"compare",
     "compare FILE.krt OTHER.krt [--json]\n"
     "                                            FILE against OTHER: difference labels, chart",
     korimet::cli::compareVerb},
    {"listen",
     "listen PORT [--out DIR] [--count N]\n"
     "                                            read the timer's line (COM1..COM8 or a device\n"
     "                                            path), save each frame as DIR/run-NNN.krt,\n"
     "                                            without --out into the run library",
     korimet::cli::listenVerb},
    {"runs",
     "runs [--library DIR] [--car N] [--json]\n"
     "                                            the run library, oldest first: statistics\n"
     "                                            per run, unreadable files with the reason",
     korimet::cli::runsVerb},
    {"sheet",
     "sheet FILE.krt [--pdf OUT.pdf] [--png OUT.png [--width PX]] [--compare OTHER.krt]\n"
     "                                            the lap sheet as PDF, the chart as PNG",
     korimet::cli::sheetVerb},
};

int usage(std::ostream& out, int status) {
    out << "usage: korimet-cli VERB [ARGS]\n";
    for (const Verb& v : kVerbs) out << "  korimet-cli " << v.usage << "\n";
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // --- interim --version, until the option parser takes over ---
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "korimet-cli " KORIMET_VERSION_TEXT "\n";
        return 0;
    }
    // --- end of interim --version ---
    if (argc < 2) return usage(std::cerr, 2);
    const std::string verb = argv[1];
    if (verb == "--help" || verb == "-h" || verb == "help") return usage(std::cout, 0);
    korimet::cli::Args args(argv + 2, argv + argc);
    for (const Verb& v : kVerbs) {
        if (verb == v.name) {
            try {
                return v.run(args);
            } catch (const std::exception& e) {
                std::cerr << "korimet-cli " << verb << ": " << e.what() << "\n";
                return 2;
            }
        }
    }
    std::cerr << "korimet-cli: unknown verb '" << verb << "'\n";
    return usage(std::cerr, 2);
}

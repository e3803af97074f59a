#include <QSettings>
#include <algorithm>
#include <charconv>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/run_input.h"
#include "cli/verbs.h"
#include "corrections/correction_file.h"
#include "corrections/lap_corrections.h"
#include "corrections/run_view.h"
#include "corrections/settings/limit_settings.h"
#include "lapdata/lap_time.h"
#include "lapdata/lap_view_model.h"
#include "messages/correction_messages.h"
#include "runjson/json_out.h"
#include "runjson/show_json.h"

namespace korimet::cli {

namespace {

struct CorrectOptions {
    std::string file;
    std::string apply;
    bool undo = false;
    bool undoAll = false;
    bool json = false;
};

// One item of --apply: a lap as listed (from 1) and, unless the suggestion is meant, a kind.
struct ApplyItem {
    int lap = 0;
    std::optional<CorrectionKind> kind;
};

std::optional<int> lapNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value < 1)
        return std::nullopt;
    return value;
}

// "all" gives an empty list with `all` set; otherwise the items, or the one that is wrong.
std::optional<std::vector<ApplyItem>> applyItems(const std::string& text, bool& all,
                                                 std::string& wrong) {
    all = text == "all";
    std::vector<ApplyItem> items;
    if (all) return items;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string_view item = std::string_view(text).substr(from, comma - from);
        from = comma + 1;
        const std::size_t colon = item.find(':');
        ApplyItem parsed;
        std::optional<int> lap;
        if (colon == std::string_view::npos) {
            lap = lapNumber(item);
        } else {
            parsed.kind = correctionKindNamed(item.substr(0, colon));
            lap = lapNumber(item.substr(colon + 1));
        }
        if (!lap || (colon != std::string_view::npos && !parsed.kind)) {
            wrong = std::string(item);
            return std::nullopt;
        }
        parsed.lap = *lap;
        items.push_back(parsed);
    }
    return items;
}

std::string stepsText(const std::vector<Correction>& steps) {
    std::string text;
    for (const Correction& step : steps) {
        if (!text.empty()) text += ", ";
        text += std::string(correctionKindName(step.kind)) + " " + std::to_string(step.lap + 1);
    }
    return text;
}

void printPlain(const RunCorrections& c, const std::vector<Suggestion>& suggestions,
                const Texts& t) {
    std::string out = c.steps().empty() ? std::string(t(Text::CorrectNoneApplied))
                                        : t(Text::CorrectApplied) + stepsText(c.steps());
    out += "\n";
    if (suggestions.empty()) {
        std::cout << out << t(Text::CorrectNoSuspects) << "\n";
        return;
    }
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> head;
    const std::string_view all = t(Text::CorrectHeadings);
    for (std::size_t from = 0; from <= all.size();) {
        const std::size_t bar = std::min(all.find('|', from), all.size());
        head.emplace_back(all.substr(from, bar - from));
        from = bar + 1;
    }
    rows.push_back(head);
    for (const Suggestion& s : suggestions) {
        rows.push_back({std::to_string(s.lap + 1),
                        lapTimeOrPlaceholder(c.run().laps[static_cast<std::size_t>(s.lap)].seconds),
                        std::string(suspectName(s.suspect).value_or("-")),
                        std::string(correctionKindName(s.fix.kind))});
    }
    std::vector<std::size_t> widths(head.size(), 0);
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(row[i]));
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line.append(widths[i] - displayWidth(row[i]) + 2, ' ');
        }
        out += line + "\n";
    }
    std::cout << out;
}

nlohmann::ordered_json correctJson(const std::string& path, const RunCorrections& c,
                                   const std::vector<Suggestion>& suggestions,
                                   const SuspectLimits& limits) {
    nlohmann::ordered_json j;
    putName(j, "path", path);
    nlohmann::ordered_json steps = nlohmann::ordered_json::array();
    for (const Correction& step : c.steps())
        steps.push_back({{"kind", correctionKindName(step.kind)}, {"lap", step.lap + 1}});
    j["corrections"] = std::move(steps);
    nlohmann::ordered_json listed = nlohmann::ordered_json::array();
    for (const Suggestion& s : suggestions) {
        const double seconds = c.run().laps[static_cast<std::size_t>(s.lap)].seconds;
        listed.push_back({{"lap", s.lap + 1},
                          {"seconds", seconds},
                          {"text", lapTimeOrPlaceholder(seconds)},
                          {"suspect", suspectName(s.suspect).value_or("")},
                          {"fix", correctionKindName(s.fix.kind)}});
    }
    j["suggestions"] = std::move(listed);
    j["run"] = runJson(viewRun(c, limits), buildLapView(c.run().data));
    return j;
}

// The steps the items ask for, last lap first so that each lap number stays the one listed.
std::optional<std::vector<Correction>> wantedSteps(const std::vector<ApplyItem>& items, bool all,
                                                   const std::vector<Suggestion>& suggestions,
                                                   const std::string& prefix, const Texts& t) {
    std::vector<Correction> steps;
    if (all) {
        for (const Suggestion& s : suggestions) steps.push_back(s.fix);
    }
    for (const ApplyItem& item : items) {
        if (item.kind) {
            steps.push_back({*item.kind, item.lap - 1});
            continue;
        }
        const auto found = std::find_if(suggestions.begin(), suggestions.end(),
                                        [&](const Suggestion& s) { return s.lap == item.lap - 1; });
        if (found == suggestions.end()) {
            std::cerr << prefix << t.with(Text::CorrectNoSuggestion, {std::to_string(item.lap)})
                      << "\n";
            return std::nullopt;
        }
        steps.push_back(found->fix);
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [](const Correction& a, const Correction& b) { return a.lap > b.lap; });
    return steps;
}

int runCorrect(const CorrectOptions& o, const CLI::App& verb, const Texts& t) {
    // The window's limits, so that a script and the racer see the same laps flagged.
    const SuspectLimits limits = readSuspectLimits(QSettings());
    const bool applying = verb.count("--apply") > 0;
    const int actions =
        static_cast<int>(applying) + static_cast<int>(o.undo) + static_cast<int>(o.undoAll);
    if (actions > 1) return wrongArguments(verb, t(Text::CorrectOneAction));
    if (isStandardInput(o.file)) return wrongArguments(verb, t(Text::CorrectNotStandardInput));
    bool all = false;
    std::string wrong;
    const auto items = applyItems(o.apply, all, wrong);
    if (applying && !items) return wrongArguments(verb, t.with(Text::CorrectBadItem, {wrong}));

    const std::string prefix = messagePrefix(verb);
    const auto tell = [&](const CorrectionFileError& error) {
        std::string message = correctionFileMessage(error, t.language());
        std::replace(message.begin(), message.end(), '\n', ' ');
        std::cerr << prefix << message << "\n";
    };
    const DataFileReadResult read = readRunFile(o.file, t, MemoField::Skip);
    if (!reportRead(read, prefix, t)) return 2;
    // A change is a read-modify-write: from reading the steps to writing them, no other
    // corrector may write in between, or one of the two would lose its steps.
    std::optional<CorrectionLock> lock;
    if (actions > 0) {
        CorrectionLockTaken taken = lockCorrections(o.file);
        if (taken.error) {
            tell(taken.error);
            std::cerr << prefix << t(Text::CorrectFileLeft) << "\n";
            return 2;
        }
        lock = std::move(taken.lock);
    }
    CorrectedRunRead loaded = loadCorrections(o.file, read.content->data);
    const std::vector<Correction> seen = loaded.corrections.steps();
    if (loaded.error) {
        tell(loaded.error);
        // A file this version cannot read may hold a later version's work: never replaced.
        if (actions > 0) {
            std::cerr << prefix << t(Text::CorrectFileLeft) << "\n";
            return 2;
        }
    }
    RunCorrections& corrections = loaded.corrections;
    bool changed = false;
    if (o.undo) {
        if (!corrections.undo()) {
            std::cerr << prefix << t(Text::CorrectNothingToUndo) << "\n";
            return 1;
        }
        changed = true;
    } else if (o.undoAll) {
        if (corrections.steps().empty()) {
            std::cerr << prefix << t(Text::CorrectNothingToUndo) << "\n";
            return 1;
        }
        corrections.undoAll();
        changed = true;
    } else if (applying) {
        const auto steps =
            wantedSteps(*items, all, suggestCorrections(corrections.run(), limits), prefix, t);
        if (!steps) return 1;
        // All or nothing: the run as listed, or every step asked for.
        RunCorrections trial = corrections;
        for (const Correction& step : *steps) {
            if (const CorrectionRefusal refusal = trial.apply(step);
                refusal != CorrectionRefusal::None) {
                std::cerr << prefix
                          << t.with(Text::CorrectRefused,
                                    {correctionKindName(step.kind), std::to_string(step.lap + 1),
                                     correctionRefusalMessage(refusal, t.language())})
                          << "\n";
                return 1;
            }
        }
        changed = !steps->empty();
        corrections = std::move(trial);
    }
    if (changed) {
        if (const CorrectionFileError saved =
                saveCorrectionsOver(*lock, o.file, seen, corrections)) {
            tell(saved);
            std::cerr << prefix << t(Text::CorrectFileLeft) << "\n";
            return 2;
        }
    }
    // Done with the file: a reader slow to take the output must not keep others waiting.
    lock.reset();
    const std::vector<Suggestion> suggestions = suggestCorrections(corrections.run(), limits);
    if (o.json) {
        std::cout << jsonLine(correctJson(o.file, corrections, suggestions, limits)) << "\n";
    } else {
        printPlain(corrections, suggestions, t);
    }
    return 0;
}

}  // namespace

VerbRun correctVerb(CLI::App& verb, const Texts& texts) {
    auto options = std::make_shared<CorrectOptions>();
    verb.add_option("--apply", options->apply, texts(Text::CorrectApply))
        ->type_name("all|N,KIND:N")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    verb.add_flag("--undo", options->undo, texts(Text::CorrectUndo))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    verb.add_flag("--undo-all", options->undoAll, texts(Text::CorrectUndoAll))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    verb.add_flag("--json", options->json, texts(Text::CorrectJson))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    verb.add_option("FILE.krt", options->file, texts(Text::CorrectFile))->required();
    verb.footer(texts(Text::CorrectExit));
    return [options, texts, &verb] { return runCorrect(*options, verb, texts); };
}

}  // namespace korimet::cli

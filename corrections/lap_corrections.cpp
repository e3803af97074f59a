#include "corrections/lap_corrections.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "lapdata/run_statistics.h"

namespace korimet {

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

constexpr std::array<std::pair<CorrectionKind, std::string_view>, 4> kKindNames{{
    {CorrectionKind::MergeIntoNext, "merge-next"},
    {CorrectionKind::MergeIntoPrevious, "merge-previous"},
    {CorrectionKind::Split, "split"},
    {CorrectionKind::LeaveOut, "leave-out"},
}};

}  // namespace

std::vector<CorrectedLap> lapList(const LapData& downloaded) {
    std::vector<CorrectedLap> laps;
    const int counted = countedLaps(downloaded);
    laps.reserve(at(counted));
    for (int i = 0; i < counted; ++i) laps.push_back({downloaded.laps[at(i)]});
    return laps;
}

CorrectionRefusal checkCorrection(const std::vector<CorrectedLap>& laps, const Correction& step) {
    const int size = static_cast<int>(laps.size());
    if (step.lap < 0 || step.lap >= size) return CorrectionRefusal::NoSuchLap;
    if (laps[at(step.lap)].leftOut) return CorrectionRefusal::LapLeftOut;
    switch (step.kind) {
        case CorrectionKind::MergeIntoNext:
        case CorrectionKind::MergeIntoPrevious: {
            const int other = step.lap + (step.kind == CorrectionKind::MergeIntoNext ? 1 : -1);
            if (other < 0 || other >= size) return CorrectionRefusal::NoNeighbour;
            if (laps[at(other)].leftOut) return CorrectionRefusal::LapLeftOut;
            break;
        }
        case CorrectionKind::Split:
            if (size >= kLapSlots) return CorrectionRefusal::NoFreeSlot;
            break;
        case CorrectionKind::LeaveOut:
            break;
    }
    return CorrectionRefusal::None;
}

CorrectionRefusal applyCorrection(std::vector<CorrectedLap>& laps, const Correction& step) {
    if (const auto refusal = checkCorrection(laps, step); refusal != CorrectionRefusal::None) {
        return refusal;
    }
    const auto lap = laps.begin() + step.lap;
    switch (step.kind) {
        case CorrectionKind::MergeIntoNext:
        case CorrectionKind::MergeIntoPrevious: {
            const auto other = step.kind == CorrectionKind::MergeIntoNext ? lap + 1 : lap - 1;
            other->seconds += lap->seconds;
            other->origin = LapOrigin::Merged;
            laps.erase(lap);
            break;
        }
        case CorrectionKind::Split: {
            // x / 2 is exact, so the two halves add up to the lap to the last bit.
            const double half = lap->seconds / 2.0;
            const CorrectedLap second{lap->seconds - half, LapOrigin::Split, false};
            lap->seconds = half;
            lap->origin = LapOrigin::Split;
            laps.insert(lap + 1, second);
            break;
        }
        case CorrectionKind::LeaveOut:
            lap->leftOut = true;
            break;
    }
    return CorrectionRefusal::None;
}

CorrectedRun correctedRun(const LapData& downloaded, std::vector<CorrectedLap> laps) {
    CorrectedRun run;
    run.data = downloaded;
    int shown = 0;
    for (std::size_t i = 0; i < laps.size() && shown < kLapSlots; ++i) {
        if (laps[i].leftOut) continue;
        run.data.laps[at(shown)] = laps[i].seconds;
        run.listIndex.push_back(static_cast<int>(i));
        ++shown;
    }
    const int before = countedLaps(downloaded);
    for (int slot = shown; slot < before; ++slot) run.data.laps[at(slot)] = 0.0;
    // An unchanged list keeps the count as the record had it (above 60 included), so that
    // undoing everything gives the record back exactly.
    if (shown != before) run.data.lapCount = static_cast<std::uint8_t>(shown);
    run.laps = std::move(laps);
    return run;
}

RunCorrections::RunCorrections(const LapData& downloaded) : downloaded_(downloaded) { rebuild(); }

CorrectionRefusal RunCorrections::apply(const Correction& step) {
    auto laps = run_.laps;
    const auto refusal = applyCorrection(laps, step);
    if (refusal != CorrectionRefusal::None) return refusal;
    steps_.push_back(step);
    run_ = correctedRun(downloaded_, std::move(laps));
    return refusal;
}

std::optional<std::size_t> RunCorrections::applyAll(const std::vector<Correction>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (apply(steps[i]) != CorrectionRefusal::None) return i;
    }
    return std::nullopt;
}

bool RunCorrections::undo() {
    if (steps_.empty()) return false;
    steps_.pop_back();
    rebuild();
    return true;
}

void RunCorrections::undoAll() {
    steps_.clear();
    rebuild();
}

void RunCorrections::rebuild() {
    auto laps = lapList(downloaded_);
    for (const auto& step : steps_) applyCorrection(laps, step);
    run_ = correctedRun(downloaded_, std::move(laps));
}

std::vector<Suggestion> suggestCorrections(const CorrectedRun& run, const SuspectLimits& limits) {
    std::vector<Suggestion> found;
    const auto verdicts = suspectLaps(run.data, limits);
    for (std::size_t i = 0; i < verdicts.size() && i < run.listIndex.size(); ++i) {
        if (verdicts[i] == Suspect::None) continue;
        const int lap = run.listIndex[i];
        std::vector<Correction> tries;
        if (verdicts[i] == Suspect::Short) {
            tries = {{CorrectionKind::MergeIntoNext, lap},
                     {CorrectionKind::MergeIntoPrevious, lap}};
        } else {
            tries = {{CorrectionKind::Split, lap}};
        }
        tries.push_back({CorrectionKind::LeaveOut, lap});
        const auto fix = std::find_if(tries.begin(), tries.end(), [&](const Correction& c) {
            return checkCorrection(run.laps, c) == CorrectionRefusal::None;
        });
        found.push_back({lap, verdicts[i], *fix});
    }
    return found;
}

std::string_view correctionKindName(CorrectionKind kind) {
    for (const auto& [k, name] : kKindNames) {
        if (k == kind) return name;
    }
    return {};
}

std::optional<CorrectionKind> correctionKindNamed(std::string_view name) {
    for (const auto& [k, n] : kKindNames) {
        if (n == name) return k;
    }
    return std::nullopt;
}

}  // namespace korimet

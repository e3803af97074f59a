#include "runjson/json_out.h"

namespace korimet::cli {

namespace {
void addLapData(nlohmann::ordered_json& j, const LapData& d) {
    j["carId"] = d.carId;
    j["lapCount"] = d.lapCount;
    j["targetTime"] = targetTimeJson(d);
    j["extraValue1"] = d.extraValue1;
    j["extraValue2"] = d.extraValue2;
    j["raceMinutes"] = d.raceMinutes;
    j["extraByte"] = d.extraByte;
    j["laps"] = d.laps;
}
}  // namespace

nlohmann::ordered_json targetTimeJson(const LapData& data) {
    return data.targetTime < kNoTargetTime ? nlohmann::ordered_json(data.targetTime)
                                           : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json lapStatisticJson(const RunStatistics& statistics, double value) {
    return statistics.counted > 0 ? nlohmann::ordered_json(value) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json lapDataJson(const LapData& d) {
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    addLapData(j, d);
    return j;
}

nlohmann::ordered_json frameJson(const DecodedFrame& frame) {
    nlohmann::ordered_json j;
    j["model"] = optionalJson(frame.modelCaption);
    j["version"] = frame.versionText;
    addLapData(j, frame.data);
    return j;
}

}  // namespace korimet::cli

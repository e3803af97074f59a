#include "messages/correction_messages.h"

#include "messages/file_messages.h"

namespace korimet {

namespace {

struct Words {
    const char* ja;
    const char* en;
    const char* in(Language language) const { return language == Language::Japanese ? ja : en; }
};

Words reasonOf(CorrectionFileErrorCode code) {
    using C = CorrectionFileErrorCode;
    switch (code) {
        case C::CannotOpen:
        case C::CannotRead:
            return {"ファイルを読み込めません", "cannot read the file"};
        case C::NotAFile:
            return {"通常のファイルではありません", "not a regular file"};
        case C::TooLarge:
            return {"大きすぎます", "too large for a correction file"};
        case C::NotCorrections:
            return {"修正ファイルではありません", "not a correction file"};
        case C::LaterVersion:
            return {"新しい版のファイルです", "made by a later version"};
        case C::BadLine:
            return {"読めない行があります", "a line cannot be read"};
        case C::OtherRun:
            return {"別のラップ用のファイルです", "made for other laps"};
        case C::StepRefused:
            return {"このランに当てはまらない修正があります", "a correction does not fit the run"};
        case C::CannotSave:
            return {"保存できません", "cannot save the file"};
        case C::CannotRemove:
            return {"削除できません", "cannot remove the file"};
        case C::None:
            break;
    }
    return {"", ""};
}

}  // namespace

std::string correctionFileMessage(const CorrectionFileError& error, Language language) {
    const bool ja = language == Language::Japanese;
    const bool writing = error.code == CorrectionFileErrorCode::CannotSave ||
                         error.code == CorrectionFileErrorCode::CannotRemove;
    std::string text =
        writing ? (ja ? "ラップの修正を保存できません: " : "cannot keep the lap corrections: ")
                : (ja ? "ラップの修正を使えません: " : "cannot use the lap corrections: ");
    text += error.path;
    text += "\n";
    text += reasonOf(error.code).in(language);
    if (error.line > 0) {
        text += ja ? "（" + std::to_string(error.line) + "行目）"
                   : " (line " + std::to_string(error.line) + ")";
    }
    if (error.code == CorrectionFileErrorCode::LaterVersion && !error.detail.empty()) {
        text += ja ? "（版 " + error.detail + "）" : " (version " + error.detail + ")";
    }
    if (error.systemError != 0) text += ": " + systemReason(error.systemError, language);
    if (!writing) {
        text += ja ? "\nダウンロードしたままのラップを表示します。"
                   : "\nThe run is shown as downloaded.";
    }
    return text;
}

std::string correctionRefusalMessage(CorrectionRefusal refusal, Language language) {
    Words words{"", ""};
    switch (refusal) {
        case CorrectionRefusal::NoSuchLap:
            words = {"その周回はありません", "no such lap"};
            break;
        case CorrectionRefusal::NoNeighbour:
            words = {"合わせる隣の周回がありません", "no lap beside it to merge with"};
            break;
        case CorrectionRefusal::LapLeftOut:
            words = {"統計から除いた周回です", "the lap is left out"};
            break;
        case CorrectionRefusal::NoFreeSlot:
            words = {"60 周すべて使用中です", "all 60 laps are in use"};
            break;
        case CorrectionRefusal::None:
            break;
    }
    return words.in(language);
}

}  // namespace korimet

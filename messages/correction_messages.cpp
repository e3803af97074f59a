#include "messages/correction_messages.h"

#include "messages/file_messages.h"
#include "messages/message_texts.h"
#include "messages/message_words.h"

namespace korimet {

namespace {

namespace t = messagetexts;

const char* reasonOf(CorrectionFileErrorCode code) {
    using C = CorrectionFileErrorCode;
    switch (code) {
        case C::CannotOpen:
        case C::CannotRead:
            return t::kCorrectionsCannotRead;
        case C::NotAFile:
            return t::kCorrectionsNotAFile;
        case C::TooLarge:
            return t::kCorrectionsTooLarge;
        case C::NotCorrections:
            return t::kNotCorrections;
        case C::LaterVersion:
            return t::kLaterVersion;
        case C::BadLine:
            return t::kBadLine;
        case C::OtherRun:
            return t::kOtherRun;
        case C::StepRefused:
            return t::kStepRefused;
        case C::CannotSave:
            return t::kCorrectionsCannotSave;
        case C::CannotRemove:
            return t::kCorrectionsCannotRemove;
        case C::NotReplaced:
            return t::kNotReplaced;
        case C::Busy:
            return t::kCorrectionsBusy;
        case C::Changed:
            return t::kCorrectionsChanged;
        case C::None:
            break;
    }
    return nullptr;
}

}  // namespace

std::string correctionFileMessage(const CorrectionFileError& error, const Wording& wording) {
    using C = CorrectionFileErrorCode;
    const bool writing = error.code == C::CannotSave || error.code == C::CannotRemove ||
                         error.code == C::NotReplaced || error.code == C::Busy ||
                         error.code == C::Changed;
    std::string text =
        sayWith(wording, writing ? t::kCorrectionsSaveHead : t::kCorrectionsUseHead, {error.path});
    text += "\n";
    const char* reasonText = reasonOf(error.code);
    std::string reason = reasonText ? say(wording, reasonText) : std::string();
    if (error.line > 0) reason = sayWith(wording, t::kOnLine, {reason, std::to_string(error.line)});
    if (error.code == CorrectionFileErrorCode::LaterVersion && !error.detail.empty()) {
        reason = sayWith(wording, t::kOfVersion, {reason, error.detail});
    }
    text += reason;
    if (error.systemError != 0) text += ": " + systemReason(error.systemError, wording);
    if (!writing) text += "\n" + say(wording, t::kShownAsDownloaded);
    return text;
}

std::string correctionFileMessage(const CorrectionFileError& error, Language language) {
    return correctionFileMessage(error, wordingFor(language));
}

std::string correctionRefusalMessage(CorrectionRefusal refusal, const Wording& wording) {
    switch (refusal) {
        case CorrectionRefusal::NoSuchLap:
            return say(wording, t::kNoSuchLap);
        case CorrectionRefusal::NoNeighbour:
            return say(wording, t::kNoNeighbour);
        case CorrectionRefusal::LapLeftOut:
            return say(wording, t::kLapLeftOut);
        case CorrectionRefusal::NoFreeSlot:
            return say(wording, t::kNoFreeSlot);
        case CorrectionRefusal::None:
            break;
    }
    return {};
}

std::string correctionRefusalMessage(CorrectionRefusal refusal, Language language) {
    return correctionRefusalMessage(refusal, wordingFor(language));
}

}  // namespace korimet

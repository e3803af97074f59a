#include "messages/message_words.h"

#include <string_view>
#include <vector>

#include "messages/message_texts.h"

namespace korimet {

namespace {

struct Pair {
    const char* japanese;
    const char* english;
};

// The command-line tool's English: lower case at the start, as scripts and logs read it.
constexpr Pair kEnglish[] = {
    {messagetexts::kReadHead, "cannot read the file: %1"},
    {messagetexts::kSaveHead, "cannot save the file: %1"},
    {messagetexts::kSaveInFolderHead, "cannot save in the folder: %1"},
    {messagetexts::kListFolderHead, "cannot read the folder: %1"},
    {messagetexts::kMemoUnreadableHead, "part of the memo cannot be read: %1"},
    {messagetexts::kMemoDoubtfulHead, "the memo's encoding is uncertain: %1"},
    {messagetexts::kPlaced, "line %1, field %2: %3"},
    {messagetexts::kWithReason, "%1 (%2)"},
    {messagetexts::kTooLarge, "too large for a data file"},
    {messagetexts::kNotAFile, "cannot open the file (not a regular file)"},
    {messagetexts::kNotReplaced, "not a regular file: it was left as it is"},
    {messagetexts::kEndsEarly, "the file ends here"},
    {messagetexts::kEmptyField, "no value"},
    {messagetexts::kNotANumber, "not a number"},
    {messagetexts::kNumberOutOfRange, "number too large or too small"},
    {messagetexts::kNotAByte, "not a whole number from 0 to 255"},
    {messagetexts::kUnclosedQuote, "the memo's closing \" is missing"},
    {messagetexts::kMemoUnreadable, "the memo's characters cannot be read"},
    {messagetexts::kMemoShownWithMarks,
     "characters that cannot be read are shown as \"\uFFFD\"; the file was not changed."},
    {messagetexts::kMemoDoubtfulRead,
     "the memo reads both as CP932 (Shift_JIS) and as UTF-8; it was read as %1."},
    {messagetexts::kMemoDoubtfulCheck,
     "check that its characters are right; the file was not changed."},
    {messagetexts::kValueNotFinite, "a value cannot be saved (infinite or not a number)"},
    {messagetexts::kNoEncoder, "Shift_JIS (CP932) conversion is not available"},
    {messagetexts::kNoFreeName, "no free file name is left"},
    {messagetexts::kMemoUnencodable, "the memo holds a character the file cannot store: %1"},
    {messagetexts::kMemoUnencodableHint, "delete that character, then save."},
    {messagetexts::kMemoWouldChange,
     "this memo cannot be saved: it would read back as other characters (its CP932 bytes "
     "look like UTF-8)."},
    {messagetexts::kMemoWouldChangeHint,
     "change the memo slightly (a space between characters) to save it."},
    {messagetexts::kCannotOpen, "cannot open the file"},
    {messagetexts::kCannotReadOpened, "error while reading the file"},
    {messagetexts::kCannotCreate, "cannot create the file"},
    {messagetexts::kCannotWrite, "cannot write to the file"},
    {messagetexts::kCannotCheckName, "cannot check the file name: %1"},
    {messagetexts::kCannotMakeFolder, "cannot create the folder"},
    {messagetexts::kCannotReadFolder, "cannot open the folder"},
    {messagetexts::kNoSuchFile, "No such file or directory"},
    {messagetexts::kNoPermission, "Permission denied"},
    {messagetexts::kIsFolder, "Is a directory"},
    {messagetexts::kNotAFolder, "Not a directory"},
    {messagetexts::kDiskFull, "No space left on device"},
    {messagetexts::kFileTooBig, "File too large"},
    {messagetexts::kReadOnly, "Read-only file system"},
    {messagetexts::kNameTooLong, "File name too long"},
    {messagetexts::kCorrectionsSaveHead, "cannot keep the lap corrections: %1"},
    {messagetexts::kCorrectionsUseHead, "cannot use the lap corrections: %1"},
    {messagetexts::kCorrectionsCannotRead, "cannot read the file"},
    {messagetexts::kCorrectionsNotAFile, "not a regular file"},
    {messagetexts::kCorrectionsTooLarge, "too large for a correction file"},
    {messagetexts::kNotCorrections, "not a correction file"},
    {messagetexts::kLaterVersion, "made by a later version"},
    {messagetexts::kBadLine, "a line cannot be read"},
    {messagetexts::kOtherRun, "made for other laps"},
    {messagetexts::kStepRefused, "a correction does not fit the run"},
    {messagetexts::kCorrectionsCannotSave, "cannot save the file"},
    {messagetexts::kCorrectionsCannotRemove, "cannot remove the file"},
    {messagetexts::kCorrectionsBusy, "another program is correcting the run; try again later"},
    {messagetexts::kCorrectionsChanged, "another program changed it after it was read"},
    {messagetexts::kOnLine, "%1 (line %2)"},
    {messagetexts::kOfVersion, "%1 (version %2)"},
    {messagetexts::kShownAsDownloaded, "The run is shown as downloaded."},
    {messagetexts::kNoSuchLap, "no such lap"},
    {messagetexts::kNoNeighbour, "no lap beside it to merge with"},
    {messagetexts::kLapLeftOut, "the lap is left out"},
    {messagetexts::kNoFreeSlot, "all 60 laps are in use"},
    {messagetexts::kRaceNoData, "no data loaded"},
    {messagetexts::kCompareNoData, "no data loaded to compare"},
    {messagetexts::kCompareNoLaps,
     "the run to compare with has 0 laps, so there is nothing to compare"},
    {messagetexts::kRaceTitle, "Race simulation"},
    {messagetexts::kCompareTitle, "Data comparison"},
};

std::string englishWording(const char* japanese) {
    const std::string_view source = japanese;
    for (const Pair& pair : kEnglish) {
        if (source == pair.japanese) return pair.english;
    }
    // Every marked text has its English (tested); a text without shows as written.
    return japanese;
}

}  // namespace

Wording wordingFor(Language language) {
    if (language == Language::Japanese) return japaneseWording;
    return englishWording;
}

std::string say(const Wording& wording, const char* japanese) {
    std::string words = wording(japanese);
    if (words == japanese) {
        const auto bar = words.find('|');
        if (bar != std::string::npos) words.erase(0, bar + 1);
    }
    return words;
}

std::string sayWith(const Wording& wording, const char* japanese,
                    std::initializer_list<std::string> args) {
    const std::string pattern = say(wording, japanese);
    const std::vector<std::string> values(args);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < values.size()) {
                text += values[n];
                ++i;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

}  // namespace korimet

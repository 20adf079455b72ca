#include "core/levelsource/gametape.h"

#include "core/tape/levelslots.h"

bool checkGameTape(const std::string& name, const std::vector<std::uint8_t>& tape,
                   const ForeignTapes& foreign, FileFailure& failure) {
    const TapeSlots slots = surveyTapeSlots(tape.data(), tape.size());
    if (foreign.force || isGameTape(slots))
        return true;
    failure = {name, "not the game's tape: " + notGameTapeBecause(slots) +
                         (foreign.hint.empty() ? "" : " (" + foreign.hint + ")")};
    return false;
}

std::string tooShortForBody(std::size_t tapeSize, std::size_t offset, const std::string& what) {
    return "too short: it is " + std::to_string(tapeSize) + " bytes long, and " + what +
           " ends at byte " + std::to_string(bodyEndOffset(offset));
}

bool checkTapeHoldsBody(const std::string& name, const std::vector<std::uint8_t>& tape,
                        std::size_t offset, const std::string& what, FileFailure& failure) {
    if (tapeHoldsBodyAt(tape.size(), offset))
        return true;
    failure = {name, tooShortForBody(tape.size(), offset, what)};
    return false;
}

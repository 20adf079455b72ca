#include "cli/tomkrin/clifiles.h"

#include <cerrno>
#include <cstring>

#include "core/tape/casblocks.h"
#include "core/files/filebytes.h"
#include "core/files/fileplatform.h"
#include "core/tape/levelslots.h"
#include "core/files/stagedfile.h"

int fail(CliContext& context, const std::string& file, const std::string& what) {
    context.err << "tomkrin: " << file << ": " << what << '\n';
    return kStatusFailed;
}

bool readInput(CliContext& context, const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::string why;
    if (readWholeFile(path, bytes, why))
        return true;
    fail(context, path, "cannot read it: " + why);
    return false;
}

bool isTapeImage(const std::vector<std::uint8_t>& bytes) {
    return !findBlockMarkers(bytes.data(), bytes.size()).empty();
}

bool readTapeImage(CliContext& context, const std::string& path, std::vector<std::uint8_t>& bytes) {
    if (!readInput(context, path, bytes))
        return false;
    if (isTapeImage(bytes))
        return true;
    fail(context, path, "not a tape image: it has no block marker");
    return false;
}

std::string tooShortForBody(std::size_t tapeSize, std::size_t offset, const std::string& what) {
    return "too short: it is " + std::to_string(tapeSize) + " bytes long, and " + what +
           " ends at byte " + std::to_string(bodyEndOffset(offset));
}

int refuseForeignTape(CliContext& context, const std::string& path,
                      const std::vector<std::uint8_t>& tape, bool force) {
    const TapeSlots slots = surveyTapeSlots(tape.data(), tape.size());
    if (force || isGameTape(slots))
        return kStatusOk;
    return fail(context, path,
                "not the game's tape: " + notGameTapeBecause(slots) +
                    " (--force takes its level slots all the same)");
}

bool writeOutput(CliContext& context, const std::string& path,
                 const std::vector<std::uint8_t>& bytes, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        if (isSameFile(path, input)) {
            fail(context, path, "is the input file " + input + " itself: give another name");
            return false;
        }
    }
    StagedFile staged;
    errno = 0;
    if (!staged.open(path)) {
        fail(context, path,
             std::string("cannot create a file beside it") +
                 (errno ? std::string(": ") + std::strerror(errno) : ""));
        return false;
    }
    staged.write(bytes.data(), bytes.size());
    errno = 0;
    if (!staged.commit()) {
        fail(context, path,
             std::string("cannot write it") +
                 (errno ? std::string(": ") + std::strerror(errno) : ""));
        return false;
    }
    return true;
}

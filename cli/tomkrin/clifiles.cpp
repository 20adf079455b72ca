#include "cli/tomkrin/clifiles.h"

#include "cli/common/outputfile.h"
#include "core/files/filebytes.h"
#include "core/tape/tapeimage.h"

int fail(CliContext& context, const std::string& file, const std::string& what) {
    return fail(context, FileFailure{file, what});
}

int fail(CliContext& context, const FileFailure& failure) {
    context.err << "tomkrin: " << failure.text() << '\n';
    return kStatusFailed;
}

bool readInput(CliContext& context, const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::string why;
    if (readWholeFile(path, bytes, why))
        return true;
    fail(context, FileFailure::unreadable(path, why));
    return false;
}

bool readTapeImage(CliContext& context, const std::string& path, std::vector<std::uint8_t>& bytes) {
    if (!readInput(context, path, bytes))
        return false;
    FileFailure failure;
    if (checkTapeImage(path, bytes, failure))
        return true;
    fail(context, failure);
    return false;
}

ForeignTapes foreignTapes(bool force) {
    return {force, "--force takes its level slots all the same"};
}

int refuseForeignTape(CliContext& context, const std::string& path,
                      const std::vector<std::uint8_t>& tape, bool force) {
    FileFailure failure;
    return checkGameTape(path, tape, foreignTapes(force), failure) ? kStatusOk
                                                                   : fail(context, failure);
}

bool writeOutput(CliContext& context, const std::string& path,
                 const std::vector<std::uint8_t>& bytes, const std::vector<std::string>& inputs) {
    FileFailure failure;
    for (const std::string& input : inputs) {
        if (!refuseInputAsOutput(path, input,
                                 "is the input file " + input + " itself: give another name",
                                 failure)) {
            fail(context, failure);
            return false;
        }
    }
    if (writeOutputFile(path, bytes, failure))
        return true;
    fail(context, failure);
    return false;
}

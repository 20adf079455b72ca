#include "cli/common/outputfile.h"

#include <cerrno>

#include "core/files/filebytes.h"
#include "core/files/fileplatform.h"
#include "core/files/stagedfile.h"

bool refuseInputAsOutput(const std::string& output, const std::string& input,
                         const std::string& refusal, FileFailure& failure) {
    if (!isSameFile(output, input))
        return true;
    failure = {output, refusal};
    return false;
}

bool writeOutputFile(const std::string& output, const OutputProducer& produce,
                     FileFailure& failure) {
    StagedFile staged;
    errno = 0;
    if (!staged.open(output)) {
        failure = {output, "cannot create a file beside it" + errnoReason()};
        return false;
    }
    if (!produce(staged, failure))
        return false;
    errno = 0;
    if (!staged.commit()) {
        failure = {output, "cannot write it" + errnoReason()};
        return false;
    }
    return true;
}

bool writeOutputFile(const std::string& output, const std::vector<std::uint8_t>& bytes,
                     FileFailure& failure) {
    return writeOutputFile(
        output,
        [&](ByteSink& sink, FileFailure&) {
            sink.write(bytes.data(), bytes.size());
            return true;
        },
        failure);
}

#include "core/audio/encoder/encodetape.h"

#include "core/tape/tapeimage.h"

bool encodeTapeImage(const std::string& name, const std::vector<std::uint8_t>& image,
                     const SignalOptions& options, ByteSink& sink, EncodedTape& encoded,
                     FileFailure& failure, const std::function<void(std::uint64_t size)>& ready) {
    encoded = EncodedTape{};
    if (!checkTapeImage(name, image, failure))
        return false;
    encoded.blocks = readTapeBlocks(image.data(), image.size());
    encoded.layout = recordingLayout(encoded.blocks, options);
    encoded.size = recordingSize(encoded.blocks, options);
    if (encoded.size > kMaxWavDataSize) {
        failure = {name, kRecordingTooLong};
        return false;
    }
    if (ready)
        ready(encoded.size);
    if (!writeTapeRecording(image.data(), encoded.blocks, options, sink)) {
        failure = {name, kRecordingTooLong};
        return false;
    }
    return true;
}

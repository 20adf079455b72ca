// Feeds any bytes to the converter as a tape image: the marker search, the split into blocks with
// their lead-ins, and the recording of the blocks into a sink that keeps only what it needs to
// check, so that a run stays fast however many blocks the input holds.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/tape/casblocks.h"
#include "core/audio/encoder/casencoder.h"
#include "core/audio/formats/wavheader.h"

namespace {

void fail(const char* what, std::size_t index, unsigned long long value) {
    std::fprintf(stderr, "tape reader: %s (index %zu, value %llu)\n", what, index, value);
    std::abort();
}

// Every offset where a whole marker starts, found the slow way: after a marker the search goes on
// behind it.
std::vector<std::size_t> markersByScanning(const std::uint8_t* data, std::size_t size) {
    std::vector<std::size_t> found;
    std::size_t i = 0;
    while (i + kBlockMarkerSize <= size) {
        if (std::memcmp(data + i, kBlockMarker.data(), kBlockMarkerSize) == 0) {
            found.push_back(i);
            i += kBlockMarkerSize;
        } else {
            ++i;
        }
    }
    return found;
}

bool isFileHeader(const std::uint8_t* block, std::size_t size) {
    if (size < kFileIdSize)
        return false;
    const std::uint8_t id = block[0];
    if (id != kBinaryFileId && id != kBasicFileId && id != kAsciiFileId)
        return false;
    for (std::size_t i = 1; i < kFileIdSize; ++i)
        if (block[i] != id)
            return false;
    return true;
}

// Counts the bytes and checks the header and the ends of every later write: reading the first and
// the last byte makes the sanitizer see a write that reaches past its buffer.
class CheckingSink : public ByteSink {
  public:
    explicit CheckingSink(const std::array<std::uint8_t, kWavHeaderSize>& header)
        : header_(header) {}

    void write(const std::uint8_t* data, std::size_t size) override {
        if (size == 0)
            return;
        if (total_ == 0) {
            if (size != kWavHeaderSize || std::memcmp(data, header_.data(), size) != 0)
                fail("the recording does not start with its .wav header", 0, size);
        } else {
            checkSample(data[0]);
            checkSample(data[size - 1]);
        }
        total_ += size;
    }

    std::uint64_t total() const { return total_; }

  private:
    void checkSample(std::uint8_t sample) const {
        if (sample < kSilenceLevel - kSignalAmplitude || sample > kSilenceLevel + kSignalAmplitude)
            fail("a sample lies beyond the signal's amplitude", total_, sample);
    }

    std::array<std::uint8_t, kWavHeaderSize> header_;
    std::uint64_t total_ = 0;
};

void checkBlocks(const std::uint8_t* data, std::size_t size, const std::vector<TapeBlock>& blocks) {
    const std::vector<std::size_t> markers = findBlockMarkers(data, size);
    const std::vector<std::size_t> expected = markersByScanning(data, size);
    if (markers != expected)
        fail("marker search disagrees with a plain scan", markers.size(), expected.size());
    if (blocks.size() != markers.size())
        fail("not one block per marker", blocks.size(), markers.size());

    bool fileSeen = false;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const TapeBlock& block = blocks[i];
        const std::size_t end = i + 1 < markers.size() ? markers[i + 1] : size;
        if (block.offset != markers[i] + kBlockMarkerSize)
            fail("block does not start behind its marker", i, block.offset);
        if (block.offset > end || block.size != end - block.offset)
            fail("block does not run to the next marker or the end", i, block.size);
        const bool header = isFileHeader(data + block.offset, block.size);
        if (header && block.leadIn != LeadIn::Long)
            fail("a file header block continues a file", i, 0);
        if (!fileSeen && block.leadIn != LeadIn::Long)
            fail("a block continues a file that never started", i, 0);
        fileSeen = fileSeen || header;
    }
}

void checkRecording(const std::uint8_t* data, const std::vector<TapeBlock>& blocks,
                    const SignalOptions& options) {
    const std::uint64_t samples = recordingSize(blocks, options);
    if (samples > kMaxWavDataSize)
        return; // cannot happen for inputs of the fuzzing size
    CheckingSink sink(makeWavHeader(tapeWavFormat(), static_cast<std::uint32_t>(samples)));
    if (!writeTapeRecording(data, blocks, options, sink))
        fail("a recording that fits a .wav file was refused", 0, samples);
    if (sink.total() != kWavHeaderSize + samples)
        fail("the recording's length differs from its header", 0, sink.total());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<TapeBlock> blocks = readTapeBlocks(data, size);
    checkBlocks(data, size, blocks);
    // The options come from the length, so that the input stays a plain tape image.
    SignalOptions options;
    options.doubleSpeed = (size & 1) != 0;
    options.inverted = (size & 2) != 0;
    checkRecording(data, blocks, options);
    return 0;
}

#include "core/audio/formats/flacreader.h"

#ifdef TK_HAVE_FLAC

#include <FLAC/stream_decoder.h>

#include <algorithm>
#include <vector>

#include "core/files/filefailure.h"

namespace {

const char* errorText(FLAC__StreamDecoderErrorStatus status) {
    switch (status) {
    case FLAC__STREAM_DECODER_ERROR_STATUS_FRAME_CRC_MISMATCH:
        return "a frame of its samples fails its checksum";
    case FLAC__STREAM_DECODER_ERROR_STATUS_BAD_HEADER:
        return "a frame's header is damaged";
    case FLAC__STREAM_DECODER_ERROR_STATUS_UNPARSEABLE_STREAM:
        return "it holds frames this reader cannot parse";
    case FLAC__STREAM_DECODER_ERROR_STATUS_BAD_METADATA:
        return "its header blocks are damaged";
    case FLAC__STREAM_DECODER_ERROR_STATUS_LOST_SYNC:
    default:
        return "it holds bytes that are no FLAC frame";
    }
}

class FlacStream : public RecordingStream {
  public:
    explicit FlacStream(ByteSource& source) : source_(source) {}
    FlacStream(const FlacStream&) = delete;
    FlacStream& operator=(const FlacStream&) = delete;
    ~FlacStream() override {
        if (decoder_)
            FLAC__stream_decoder_delete(decoder_);
    }

    // Reads the header blocks; returns what is wrong, or an empty string.
    std::string open() {
        decoder_ = FLAC__stream_decoder_new();
        if (!decoder_)
            return "decoding failed: out of memory";
        if (!start())
            return failure_;
        if (!FLAC__stream_decoder_process_until_end_of_metadata(decoder_) || !failure_.empty() ||
            !sawInfo_) {
            if (failure_.empty())
                failure_ = "it is a damaged FLAC file: its header cannot be read";
            return failure_;
        }
        const std::string problem = channelsAndRateProblem(format_.channels, format_.sampleRate);
        return problem;
    }

    std::size_t read(float* out, std::size_t frames) override {
        while (queued() < frames && !ended_ && failure_.empty()) {
            if (!FLAC__stream_decoder_process_single(decoder_)) {
                damaged();
                break;
            }
            if (FLAC__stream_decoder_get_state(decoder_) == FLAC__STREAM_DECODER_END_OF_STREAM)
                finishStream();
        }
        if (!failure_.empty())
            return 0;
        const std::size_t count = std::min(frames, queued());
        const std::size_t values = count * format_.channels;
        std::copy(queue_.begin() + static_cast<std::ptrdiff_t>(head_),
                  queue_.begin() + static_cast<std::ptrdiff_t>(head_ + values), out);
        head_ += values;
        if (head_ == queue_.size()) {
            queue_.clear();
            head_ = 0;
        }
        return count;
    }

    bool rewind() override {
        if (!failure_.empty())
            return false;
        FLAC__stream_decoder_finish(decoder_);
        queue_.clear();
        head_ = 0;
        ended_ = false;
        decoded_ = 0;
        if (!start() || !FLAC__stream_decoder_process_until_end_of_metadata(decoder_)) {
            damaged();
            return false;
        }
        return failure_.empty();
    }

    double progress() const override {
        const std::uint64_t size = source_.size();
        return size > 0 ? static_cast<double>(std::min(position_, size)) / size : 1.0;
    }

  private:
    bool start() {
        position_ = 0;
        FLAC__stream_decoder_set_md5_checking(decoder_, true);
        if (FLAC__stream_decoder_init_stream(decoder_, &readBytes, nullptr, nullptr, nullptr,
                                             &atEnd, &writeFrame, &metadata, &error,
                                             this) != FLAC__STREAM_DECODER_INIT_STATUS_OK) {
            failure_ = "decoding failed: libFLAC could not start";
            return false;
        }
        return true;
    }

    std::size_t queued() const { return (queue_.size() - head_) / format_.channels; }

    std::string damaged() {
        if (failure_.empty())
            failure_ = "it is a damaged FLAC file";
        return failure_;
    }

    // The end of the frames: their number and their MD5 signature must be the header's.
    void finishStream() {
        ended_ = true;
        if (format_.frameCount > 0 && decoded_ < format_.frameCount) {
            failure_ = "it is truncated: it holds " + std::to_string(decoded_) + " of the " +
                       std::to_string(format_.frameCount) + " samples its header announces";
            return;
        }
        if (format_.frameCount > 0 && decoded_ > format_.frameCount) {
            failure_ = "it is a damaged FLAC file: it holds more samples than its header announces";
            return;
        }
        if (!FLAC__stream_decoder_finish(decoder_))
            failure_ = "it is a damaged FLAC file: its samples do not match the MD5 signature "
                       "in its header";
    }

    static FLAC__StreamDecoderReadStatus readBytes(const FLAC__StreamDecoder*, FLAC__byte buffer[],
                                                   std::size_t* bytes, void* data) {
        FlacStream& self = *static_cast<FlacStream*>(data);
        const std::size_t got = self.source_.read(self.position_, buffer, *bytes);
        self.position_ += got;
        *bytes = got;
        if (got > 0)
            return FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
        if (!self.source_.failure().empty()) {
            self.failure_ = FileFailure::cannotRead(self.source_.failure());
            return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
        }
        return FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
    }

    static FLAC__bool atEnd(const FLAC__StreamDecoder*, void* data) {
        const FlacStream& self = *static_cast<const FlacStream*>(data);
        return self.position_ >= self.source_.size();
    }

    static FLAC__StreamDecoderWriteStatus writeFrame(const FLAC__StreamDecoder*,
                                                     const FLAC__Frame* frame,
                                                     const FLAC__int32* const buffer[],
                                                     void* data) {
        FlacStream& self = *static_cast<FlacStream*>(data);
        const unsigned channels = frame->header.channels;
        const unsigned bits = frame->header.bits_per_sample;
        if (channels != self.format_.channels || bits != self.format_.bitsPerSample) {
            self.failure_ = "it is a damaged FLAC file: a frame differs from its header";
            return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
        }
        // The scale of the .wav reader for the same depth: a float division by 2^(bits - 1) up to
        // 24 bits, a double one above.
        const double scale = static_cast<double>(std::uint64_t{1} << (bits - 1));
        const float floatScale = static_cast<float>(scale);
        const std::size_t blocksize = frame->header.blocksize;
        self.queue_.reserve(self.queue_.size() + blocksize * channels);
        for (std::size_t i = 0; i < blocksize; ++i)
            for (unsigned c = 0; c < channels; ++c)
                self.queue_.push_back(bits <= 24 ? static_cast<float>(buffer[c][i]) / floatScale
                                                 : static_cast<float>(buffer[c][i] / scale));
        self.decoded_ += blocksize;
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    }

    static void metadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* block,
                         void* data) {
        FlacStream& self = *static_cast<FlacStream*>(data);
        if (block->type != FLAC__METADATA_TYPE_STREAMINFO)
            return;
        const FLAC__StreamMetadata_StreamInfo& info = block->data.stream_info;
        self.sawInfo_ = true;
        self.format_.sampleRate = info.sample_rate;
        self.format_.channels = static_cast<std::uint16_t>(info.channels);
        self.format_.bitsPerSample = static_cast<std::uint16_t>(info.bits_per_sample);
        self.format_.isFloat = false;
        self.format_.frameCount = info.total_samples;
    }

    static void error(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus status,
                      void* data) {
        FlacStream& self = *static_cast<FlacStream*>(data);
        if (self.failure_.empty())
            self.failure_ = std::string("it is a damaged FLAC file: ") + errorText(status);
    }

    ByteSource& source_;
    FLAC__StreamDecoder* decoder_ = nullptr;
    std::uint64_t position_ = 0;
    bool sawInfo_ = false;
    bool ended_ = false;
    std::uint64_t decoded_ = 0;
    std::vector<float> queue_; // decoded frames not yet read, channels interleaved
    std::size_t head_ = 0;
};

} // namespace

bool readsFlac() {
    return true;
}

std::string openFlac(ByteSource& source, std::unique_ptr<RecordingStream>& stream) {
    auto flac = std::make_unique<FlacStream>(source);
    const std::string problem = flac->open();
    if (problem.empty())
        stream = std::move(flac);
    return problem;
}

#else

bool readsFlac() {
    return false;
}

std::string openFlac(ByteSource&, std::unique_ptr<RecordingStream>& stream) {
    stream.reset();
    return "it is a FLAC file, and this build of the decoder reads no FLAC; save it as .wav";
}

#endif

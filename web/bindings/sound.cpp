// The tape as sound: cas2wav's recording with where each block sounds in it, and wav2cas's decoder.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <vector>

#include "core/audio/decoder/decoderecordings.h"
#include "core/audio/encoder/casencoder.h"
#include "core/audio/encoder/encodetape.h"
#include "core/audio/report/decodejson.h"
#include "core/audio/report/decodepicture.h"
#include "core/audio/report/decodereport.h"
#include "core/audio/formats/recording.h"
#include "core/audio/decoder/tapesignal.h"
#include "core/files/bytesink.h"
#include "core/files/bytesource.h"
#include "core/picture/pngimage.h"
#include "core/tape/tapedirectory.h"
#include "core/tape/tapeimage.h"

#include "web/bindings/convert.h"

using emscripten::val;

namespace {

class VectorSink : public ByteSink {
  public:
    explicit VectorSink(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    void write(const std::uint8_t* data, std::size_t size) override {
        bytes_.insert(bytes_.end(), data, data + size);
    }

  private:
    std::vector<std::uint8_t>& bytes_;
};

double secondsOf(std::uint64_t samples) {
    return static_cast<double>(samples) / kTapeSampleRate;
}

// {wav, seconds, blocks: {start, dataStart, end, kind, name}[]}: a block sounds from its lead-in
// tone to the end of its last byte. A refusal is {error: "TAPE: WHAT"} as cas2wav says it.
val makeRecording(const std::string& tapeName, const val& tapeBytes, bool doubleSpeed,
                  bool inverted) {
    const std::vector<std::uint8_t> tape = bytesOf(tapeBytes);
    val result = val::object();
    FileFailure failure;
    std::vector<std::uint8_t> wav;
    VectorSink sink(wav);
    EncodedTape encoded;
    if (!encodeTapeImage(tapeName, tape, SignalOptions{doubleSpeed, inverted}, sink, encoded,
                         failure, [&](std::uint64_t size) {
                             wav.reserve(kWavHeaderSize + static_cast<std::size_t>(size));
                         })) {
        result.set("error", failure.text());
        return result;
    }
    const std::vector<RecordedBlock>& layout = encoded.layout;
    const std::uint64_t size = encoded.size;
    const std::vector<TapeDirectoryEntry> entries = readTapeDirectory(tape.data(), tape.size());
    val recorded = val::array();
    for (std::size_t i = 0; i < layout.size(); ++i) {
        val block = val::object();
        block.set("start", secondsOf(layout[i].tone));
        block.set("dataStart", secondsOf(layout[i].data));
        block.set("end", secondsOf(layout[i].end));
        block.set("kind", std::string(tapeBlockKindName(entries[i].kind)));
        block.set("name", printableFileName(entries[i].name));
        recorded.call<void>("push", block);
    }
    result.set("wav", bytesValue(wav));
    result.set("seconds", secondsOf(size));
    result.set("blocks", recorded);
    return result;
}

// The stage of a decode, and how far the whole decode has come (0 to 1).
void progress(const val& onProgress, const char* stage, double fraction) {
    val step = val::object();
    step.set("stage", std::string(stage));
    step.set("fraction", fraction);
    onProgress(step);
}

// The recording's bytes as the page holds them, read a piece at a time straight into the decoder's
// buffers: the module never holds the whole file, and its memory does not grow with the recording.
class PageBytes : public ByteSource {
  public:
    explicit PageBytes(const val& bytes)
        : bytes_(bytes), size_(static_cast<std::uint64_t>(bytes["length"].as<double>())) {}
    std::uint64_t size() const override { return size_; }
    std::size_t read(std::uint64_t offset, std::uint8_t* out, std::size_t count) override {
        if (offset >= size_)
            return 0;
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
        const val piece = bytes_.call<val>("subarray", static_cast<double>(offset),
                                           static_cast<double>(offset + n));
        val(emscripten::typed_memory_view(n, out)).call<void>("set", piece);
        return n;
    }

  private:
    val bytes_;
    std::uint64_t size_;
};

// The result of wav2cas's decode (decodeRecordings) of one recording or several takes of one tape
// ({name, bytes}[]), converted: {tape, report: lines, clean, takes: {name, seconds}[], blocks:
// {take, start, end, offset, length, file}[], problems: {take, kind, offset, length, start, end,
// text}[], picture: PNG bytes} or {error: "FILE: WHAT", report: [], clean: false}. Each recording
// (.wav or .flac) is read as a stream, as wav2cas reads it.
val decodeTakes(const val& recordings, const val& options, const val& onProgress) {
    val result = val::object();
    result.set("report", val::array());
    result.set("clean", false);
    const val chosen = options["channel"];
    ChannelChoice channel = ChannelChoice::Best;
    if (!chosen.isUndefined())
        channel = chosen.as<std::string>() == "right" ? ChannelChoice::Right : ChannelChoice::Left;
    const std::size_t count = recordings["length"].as<unsigned>();
    std::vector<std::unique_ptr<PageBytes>> bytes;
    std::vector<RecordingInput> inputs;
    for (std::size_t i = 0; i < count; ++i) {
        const val recording = recordings[i];
        bytes.push_back(std::make_unique<PageBytes>(recording["bytes"]));
        inputs.push_back({recording["name"].as<std::string>(), bytes.back().get(), channel});
    }
    DecodeOptions decode;
    if (!options["baud"].isUndefined())
        decode.baud = options["baud"].as<int>();
    const DecodeResult decoded =
        decodeRecordings(inputs, decode, [&](const char* stage, double fraction) {
            progress(onProgress, stage, fraction);
        });
    if (decoded.failed) {
        result.set("error", decoded.failure.text());
        return result;
    }
    progress(onProgress, "report", 0.95);
    std::ostringstream report;
    reportDecode(decoded, false, report);
    val lines = val::array();
    std::istringstream text(report.str());
    for (std::string line; std::getline(text, line);)
        lines.call<void>("push", line);
    val blocks = val::array();
    for (const ImageBlock& block : decoded.blocks) {
        val item = val::object();
        item.set("take", static_cast<double>(block.take));
        item.set("start", block.start);
        item.set("end", block.end);
        item.set("offset", static_cast<double>(block.offset));
        item.set("length", static_cast<double>(block.length));
        item.set("file", block.file);
        blocks.call<void>("push", item);
    }
    val problems = val::array();
    for (const DecodeProblem& problem : decoded.problems) {
        val item = val::object();
        item.set("take", static_cast<double>(decoded.blocks[problem.imageBlock].take));
        item.set("kind", std::string(problemKindName(problem.kind)));
        item.set("offset", static_cast<double>(problem.offset));
        item.set("length", static_cast<double>(problem.length));
        item.set("start", problem.start);
        item.set("end", problem.end);
        item.set("text", problemText(decoded, problem));
        problems.call<void>("push", item);
    }
    result.set("report", lines);
    result.set("clean", decoded.clean);
    result.set("tape", bytesValue(decoded.image));
    val takes = val::array();
    for (const DecodedTake& take : decoded.takes) {
        val item = val::object();
        item.set("name", take.name);
        item.set("seconds", take.seconds);
        takes.call<void>("push", item);
    }
    result.set("takes", takes);
    result.set("blocks", blocks);
    result.set("problems", problems);
    result.set("picture", bytesValue(encodePng(decodePicture(decoded))));
    progress(onProgress, "report", 1);
    return result;
}

} // namespace

EMSCRIPTEN_BINDINGS(tk_sound) {
    emscripten::function("makeRecording", &makeRecording);
    emscripten::function("decodeRecordings", &decodeTakes);
}

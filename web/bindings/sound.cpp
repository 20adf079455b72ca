// The tape as sound: cas2wav's recording with where each block sounds in it, and wav2cas's decoder.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <sstream>

#include "core/audio/casdecoder.h"
#include "core/audio/casencoder.h"
#include "core/audio/decodemessages.h"
#include "core/audio/decodereport.h"
#include "core/audio/tapesignal.h"
#include "core/audio/wavreader.h"
#include "core/files/bytesink.h"
#include "core/levelsource/filekind.h"
#include "core/tape/tapedirectory.h"

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
    if (!checkTapeImage(tapeName, tape, failure)) {
        result.set("error", failure.file + ": " + failure.what);
        return result;
    }
    const SignalOptions options{doubleSpeed, inverted};
    const std::vector<TapeBlock> blocks = readTapeBlocks(tape.data(), tape.size());
    const std::uint64_t size = recordingSize(blocks, options);
    std::vector<std::uint8_t> wav;
    if (size <= kMaxWavDataSize)
        wav.reserve(kWavHeaderSize + static_cast<std::size_t>(size));
    VectorSink sink(wav);
    if (!writeTapeRecording(tape.data(), blocks, options, sink)) {
        result.set("error", tapeName + ": " + kRecordingTooLong);
        return result;
    }
    const std::vector<RecordedBlock> layout = recordingLayout(blocks, options);
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

// The stages of a decode, with how far each brings it; decodeTape reports nothing while it runs.
void progress(const val& onProgress, const char* stage, double fraction) {
    val step = val::object();
    step.set("stage", std::string(stage));
    step.set("fraction", fraction);
    onProgress(step);
}

// wav2cas's decode: {tape, report: lines, clean} or {error: "FILE: WHAT", report: [], clean:
// false}. The recording is copied into the module once; its samples are freed once the signal is
// taken from them.
val decodeRecording(const std::string& name, const val& wavBytes, const val& options,
                    const val& onProgress) {
    val result = val::object();
    result.set("report", val::array());
    result.set("clean", false);
    progress(onProgress, "reading", 0);
    std::vector<std::uint8_t> file = bytesOf(wavBytes);
    WavRecording recording;
    const std::string problem = parseWav(file.data(), file.size(), recording);
    if (!problem.empty()) {
        result.set("error", name + ": " + problem);
        return result;
    }
    progress(onProgress, "signal", 0.05);
    ChannelChoice channel = ChannelChoice::Best;
    const val chosen = options["channel"];
    if (!chosen.isUndefined())
        channel = chosen.as<std::string>() == "right" ? ChannelChoice::Right : ChannelChoice::Left;
    const std::vector<float> signal = tapeSignal(recording, channel);
    const double sampleRate = recording.sampleRate;
    std::vector<std::uint8_t>().swap(file);
    DecodeOptions decode;
    if (!options["baud"].isUndefined())
        decode.baud = options["baud"].as<int>();
    progress(onProgress, "decoding", 0.1);
    const std::vector<DecodedBlock> blocks = decodeTape(signal, sampleRate, decode);
    if (blocks.empty()) {
        result.set("error", name + ": " + kNoTapeSignal);
        return result;
    }
    progress(onProgress, "report", 0.95);
    std::ostringstream report;
    const bool clean = reportDecode(blocks, false, report);
    val lines = val::array();
    std::istringstream text(report.str());
    for (std::string line; std::getline(text, line);)
        lines.call<void>("push", line);
    result.set("report", lines);
    result.set("clean", clean);
    result.set("tape", bytesValue(tapeImage(blocks)));
    progress(onProgress, "report", 1);
    return result;
}

} // namespace

EMSCRIPTEN_BINDINGS(tk_sound) {
    emscripten::function("makeRecording", &makeRecording);
    emscripten::function("decodeRecording", &decodeRecording);
}

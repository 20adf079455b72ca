#pragma once
// The encoder as every front end runs it: the bytes given as a tape image checked, its blocks
// found, and its recording sent to a sink, with where each block sounds in it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/audio/encoder/casencoder.h"
#include "core/files/bytesink.h"
#include "core/files/filefailure.h"
#include "core/tape/casblocks.h"

struct EncodedTape {
    std::vector<TapeBlock> blocks;
    std::vector<RecordedBlock> layout; // where each block sounds, in samples
    std::uint64_t size = 0;            // the recording's sample bytes, the header not counted
};

// Sends the .wav recording of `image` (named `name` in failures) to `sink`, `encoded` filled.
// Before anything is sent `ready` (when given) is told the recording's size. Returns false, with
// nothing sent and `failure` set, for bytes that are no tape image or a recording too long for a
// .wav file.
bool encodeTapeImage(const std::string& name, const std::vector<std::uint8_t>& image,
                     const SignalOptions& options, ByteSink& sink, EncodedTape& encoded,
                     FileFailure& failure,
                     const std::function<void(std::uint64_t size)>& ready = {});

#pragma once
// Writing the output of a tool: never over one of its inputs, and through a temporary file renamed
// into place, so the output appears whole or not at all and a failure leaves it as it was.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/files/bytesink.h"
#include "core/files/filefailure.h"

// False with `failure` = {output, refusal} when `output` names `input`, however spelt: a slip of
// the keyboard must not turn an input into its own output.
bool refuseInputAsOutput(const std::string& output, const std::string& input,
                         const std::string& refusal, FileFailure& failure);

// Gives the bytes of an output to `sink`, in order; false, with `failure` filled, to give up.
using OutputProducer = std::function<bool(ByteSink& sink, FileFailure& failure)>;

// Writes what `produce` gives to `output`. The system's failures are named in its own words,
// "cannot create a file beside it: ..." and "cannot write it: ...". False with `failure` filled
// when anything failed, in which case `output` is as it was.
bool writeOutputFile(const std::string& output, const OutputProducer& produce,
                     FileFailure& failure);

// The same for bytes at hand.
bool writeOutputFile(const std::string& output, const std::vector<std::uint8_t>& bytes,
                     FileFailure& failure);

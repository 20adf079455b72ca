#pragma once
// Reading a FLAC recording, as archives keep their tapes: libFLAC decodes it frame by frame from
// the source's bytes, checking each frame's checksum and, at the end, the MD5 signature of all the
// samples and their number against the file's header. Any bit depth FLAC holds (4 to 32 bits),
// mono or stereo, at 8,000 to 192,000 Hz; each sample is scaled to -1..1 as the .wav reader scales
// the same depth, so a FLAC file and the .wav file of its samples decode alike. A build without
// libFLAC (TK_HAVE_FLAC not defined) reads no FLAC and says so.
#include <memory>
#include <string>

#include "core/audio/formats/recording.h"
#include "core/files/bytesource.h"

// The FLAC file that `source` holds as a stream of frames; returns an empty string with `stream`
// set, or what is wrong with the file.
std::string openFlac(ByteSource& source, std::unique_ptr<RecordingStream>& stream);

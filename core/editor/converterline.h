#pragma once
// The command line handed to the cas2wav converter and the name of the audio file it writes.
#include <cstddef>
#include <string>

constexpr const char kAudioSuffix[] = ".wav";
constexpr std::size_t kAudioSuffixLength = sizeof kAudioSuffix - 1;

// True when `tapePath` names a file whose audio file name, the path followed by ".wav", still fits
// a buffer of `capacity` characters including the terminator, and when both paths can be quoted on
// a command line (no double quote, no trailing backslash that would escape the closing quote).
bool canConvertTapePath(const std::string& tapePath, std::size_t capacity);

// The tape image's path followed by ".wav": the file the converter writes beside the image.
std::string audioPathFor(const std::string& tapePath);

// The converter's parameters: the tape image and its audio file, each in double quotes so that
// blanks in a path keep it one argument, then " -2" when the doubled baud rate is asked for.
std::string converterParameters(const std::string& tapePath, bool doubleSpeed);

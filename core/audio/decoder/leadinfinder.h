#pragma once
// Finding the lead-in tone before a block: a steady tone of 1 bits, 2,400 Hz at 1200 baud and
// 4,800 Hz at 2400 baud, each shifted by the speed of the tape. The two bands (2,160-2,640 Hz and
// 4,320-5,280 Hz within 10 % of the speed) do not overlap, so the tone's pitch gives the baud rate,
// and its exact frequency, measured over hundreds of cycles, the tape speed.
#include <cstddef>
#include <vector>

#include "core/audio/decoder/signalwindow.h"

struct LeadInTone {
    int baud = 0;
    double speed = 1.0;   // the tape's speed against the nominal one
    double start = 0;     // sample position where the tone was first heard
    double inside = 0;    // a position shortly after the start, surely inside the tone
    double confirmed = 0; // where the tone had lasted long enough to be taken for a lead-in
};

class LeadInFinder {
  public:
    // `onlyBaud` 1200 or 2400 listens for that rate only; 0 for either.
    LeadInFinder(SignalWindow& signal, double sampleRate, int onlyBaud);

    // The first lead-in tone heard at or after sample `from`; false when there is none. The
    // samples before the tone are released from the window as the search passes them.
    bool find(std::size_t from, LeadInTone& tone) const;

  private:
    struct Frame;
    Frame analyse(std::size_t at) const;

    SignalWindow& signal_;
    double sampleRate_;
    int onlyBaud_;
    std::size_t frameLength_;
    std::size_t hop_;
    std::vector<float> kernels_; // per band: the windowed reference tone, re and im interleaved
};

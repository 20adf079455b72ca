#include "core/audio/report/takesreport.h"

#include <algorithm>
#include <cstdio>

#include "core/audio/report/decodereport.h"
#include "core/level/hexdigit.h"

namespace {

std::string takeList(const std::vector<std::size_t>& takes) {
    std::string text = takes.size() == 1 ? "take " : "takes ";
    for (std::size_t k = 0; k < takes.size(); ++k)
        text += (k == 0 ? "" : ", ") + std::to_string(takes[k] + 1);
    return text;
}

std::string plural(std::size_t count, const std::string& what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string bytesText(std::size_t first, std::size_t count) {
    return count == 1
               ? "byte " + std::to_string(first)
               : "bytes " + std::to_string(first) + " to " + std::to_string(first + count - 1);
}

} // namespace

bool reportTakes(const CombinedTape& tape, const std::vector<std::string>& names, bool quiet,
                 std::ostream& out) {
    if (!quiet)
        for (std::size_t t = 0; t < names.size(); ++t)
            out << "take " << t + 1 << ": " << names[t] << '\n';
    for (const LeftOut& noise : tape.leftOut)
        for (const TakeHolding& holder : noise.holders)
            out << recordingTime(holder.seconds) << "  take " << holder.take + 1 << ": "
                << plural(noise.bytes, "byte") << " heard as a block before block "
                << noise.before + 1
                << (noise.misheard ? ", most of them not framing, where the other takes hear no "
                                     "block: left out as noise\n"
                                   : ", not clearly and running into a lead-in tone, which the "
                                     "other takes hear as such: left out as noise\n");
    for (std::size_t b = 0; b < tape.blocks.size(); ++b) {
        const TakesOfBlock& sources = tape.sources[b];
        const std::string name = "  block " + std::to_string(b + 1) + ": ";
        std::vector<std::size_t> lacking;
        for (std::size_t t = 0; t < tape.takes; ++t)
            if (std::none_of(sources.holders.begin(), sources.holders.end(),
                             [&](const TakeHolding& h) { return h.take == t; }))
                lacking.push_back(t);
        if (quiet && lacking.empty())
            continue;
        out << name << "held by ";
        for (std::size_t k = 0; k < sources.holders.size(); ++k) {
            char noise[16];
            std::snprintf(noise, sizeof noise, "%.2f", sources.holders[k].noise);
            out << (k == 0 ? "" : ", ") << "take " << sources.holders[k].take + 1 << " at "
                << recordingTime(sources.holders[k].seconds) << " (noise " << noise << ")";
        }
        if (!lacking.empty())
            out << "; not by " << takeList(lacking);
        out << '\n';
        if (quiet)
            continue;
        for (const PartialBytes& partial : sources.partial)
            out << name << bytesText(partial.first, partial.count) << " from "
                << takeList(partial.takes) << " only\n";
        for (const Disagreement& d : sources.disagreements) {
            char margin[16];
            std::snprintf(margin, sizeof margin, "%.2f", d.margin);
            out << name << "byte " << d.byte << " read as ";
            for (std::size_t k = 0; k < d.takes.size(); ++k)
                out << (k == 0 ? "" : ", ") << hexText(d.values[k]) << " by take "
                    << d.takes[k] + 1;
            out << ": combined " << hexText(d.chosen) << ", its weakest bit by a margin of "
                << margin << '\n';
        }
        if (sources.noiseAfter > 0)
            out << name << plural(sources.noiseAfter, "byte")
                << " some takes read on after its end, as the signal stopped: left out as noise\n";
    }
    return reportDecode(tape.blocks, quiet, out);
}

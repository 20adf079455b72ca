#include "core/audio/report/decodelabels.h"

#include <cstdio>

#include "core/audio/report/decodereport.h"

namespace {

// Seconds as Audacity writes them: six decimals, a point whatever the locale.
std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    for (char* c = text; *c; ++c)
        if (*c == ',')
            *c = '.';
    return text;
}

std::string label(double start, double end, const std::string& text) {
    return seconds(start) + '\t' + seconds(end) + '\t' + text + '\n';
}

} // namespace

std::string decodeLabels(const DecodeResult& result) {
    std::string labels;
    for (std::size_t i = 0; i < result.blocks.size(); ++i) {
        const ImageBlock& block = result.blocks[i];
        std::string text = "block " + std::to_string(i + 1);
        if (block.header)
            text += ": header of \"" + block.file + "\"";
        else if (!block.file.empty())
            text += ": \"" + block.file + "\"";
        labels += label(block.start, block.end, text);
    }
    for (const DecodeProblem& problem : result.problems)
        labels += label(problem.start, problem.end,
                        "block " + std::to_string(problem.imageBlock + 1) + ": " +
                            problemText(result, problem));
    return labels;
}

#include "core/audio/report/decodejson.h"

#include <nlohmann/json.hpp>

#include "core/audio/report/decodereport.h"

const char* problemKindName(ProblemKind kind) {
    switch (kind) {
    case ProblemKind::Lost:
        return "lost";
    case ProblemKind::Unsure:
        return "unsure";
    case ProblemKind::Doubtful:
        return "in doubt";
    case ProblemKind::Misplaced:
        return "placed by a guess";
    case ProblemKind::Framing:
        return "framing";
    case ProblemKind::CutShort:
        return "cut short";
    case ProblemKind::Unended:
        return "file unended";
    }
    return "";
}

std::string decodeJson(const DecodeResult& result) {
    using nlohmann::json;
    json takes = json::array();
    for (const DecodedTake& take : result.takes)
        takes.push_back({{"recording", take.name}, {"seconds", take.seconds}});
    json blocks = json::array();
    for (std::size_t b = 0; b < result.blocks.size(); ++b) {
        const ImageBlock& block = result.blocks[b];
        json entry = {{"take", block.take},
                      {"start", block.start},
                      {"end", block.end},
                      {"offset", block.offset},
                      {"length", block.length},
                      {"file", block.file.empty() ? json(nullptr) : json(block.file)},
                      {"header", block.header}};
        // With several takes: every take that held the block, and where it starts in each.
        if (result.takes.size() > 1 && b < result.combined.sources.size()) {
            json heldBy = json::array();
            for (const TakeHolding& holder : result.combined.sources[b].holders)
                heldBy.push_back({{"take", holder.take}, {"start", holder.seconds}});
            entry["heldBy"] = heldBy;
        }
        blocks.push_back(entry);
    }
    json problems = json::array();
    for (const DecodeProblem& problem : result.problems)
        problems.push_back({{"kind", problemKindName(problem.kind)},
                            {"block", problem.imageBlock},
                            {"offset", problem.offset},
                            {"length", problem.length},
                            {"start", problem.start},
                            {"end", problem.end},
                            {"text", problemText(result, problem)}});
    const json document = {{"clean", result.clean},
                           {"size", result.image.size()},
                           {"takes", takes},
                           {"blocks", blocks},
                           {"problems", problems}};
    // Names that do not print are '?' already; any other byte is kept as it is.
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

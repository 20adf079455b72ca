// A tape image in the page: its directory, its levels and their sheet, an insertion, and what to
// type on the MSX to load it; the demonstration tape a first visit may start from.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "core/level/leveltitle.h"
#include "core/levelsource/levelinsertion.h"
#include "core/levelsource/levelsource.h"
#include "core/levelsource/tapesheet.h"
#include "core/picture/contactsheet.h"
#include "core/picture/pngimage.h"
#include "core/tape/casblocks.h"
#include "core/tape/demotape.h"
#include "core/tape/levelslots.h"
#include "core/tape/loadinginstructions.h"
#include "core/tape/tapedirectory.h"
#include "core/tape/tapefiles.h"

#include "web/bindings/convert.h"

using emscripten::val;

namespace {

// The directory as `tomkrin info` lists it: a file name's characters that do not print as '?', and
// what is wrong with a block by the judgement of its file.
val tapeDirectory(const val& tapeBytes) {
    const std::vector<std::uint8_t> tape = bytesOf(tapeBytes);
    const std::vector<TapeDirectoryEntry> entries = readTapeDirectory(tape.data(), tape.size());
    std::vector<BlockBytes> blocks;
    for (const TapeDirectoryEntry& entry : entries)
        blocks.push_back({tape.data() + entry.offset, entry.size});
    const std::vector<BlockJudgement> judgements = judgeTapeBlocks(blocks);
    val rows = val::array();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TapeDirectoryEntry& entry = entries[i];
        val row = val::object();
        row.set("block", static_cast<double>(i));
        row.set("offset", static_cast<double>(entry.offset));
        row.set("size", static_cast<double>(entry.size));
        row.set("kind", std::string(tapeBlockKindName(entry.kind)));
        row.set("name", printableFileName(entry.name));
        if (entry.hasAddresses) {
            val addresses = val::object();
            addresses.set("load", entry.addresses.load);
            addresses.set("end", entry.addresses.end);
            addresses.set("exec", entry.addresses.exec);
            row.set("addresses", addresses);
        }
        row.set("fault", blockFault(judgements[i], entry.size));
        rows.call<void>("push", row);
    }
    return rows;
}

// Each standard level as `tomkrin extract TAPE N` gives it, or its refusal, with the caption and
// title of the contact sheet.
val tapeLevels(const val& tapeBytes, const std::string& tapeName) {
    const std::vector<std::uint8_t> tape = bytesOf(tapeBytes);
    const TapeSlots slots = surveyTapeSlots(tape.data(), tape.size());
    val result = val::object();
    const bool game = isGameTape(slots);
    result.set("gameTape", game);
    result.set("why", game ? std::string() : notGameTapeBecause(slots));
    val levels = val::array();
    if (game) {
        const std::vector<SheetEntry> sheet = standardLevelSheet(tape);
        for (unsigned n = 0; n < kStandardLevelCount; ++n) {
            val entry = val::object();
            entry.set("n", n);
            entry.set("caption", sheet[n].caption);
            entry.set("title", titleForDisplay(sheet[n].level));
            Level level = sheet[n].level;
            FileFailure failure;
            if (!levelOfTapeSlot(tapeName + ":" + std::to_string(n), tapeName, tape, n, {}, level,
                                 failure))
                entry.set("error", failure.text());
            entry.set("level", levelFileValue(level));
            levels.call<void>("push", entry);
        }
    }
    result.set("levels", levels);
    return result;
}

// `tomkrin render TAPE.cas`.
val sheetPng(const val& tapeBytes) {
    return bytesValue(encodePng(renderContactSheet(standardLevelSheet(bytesOf(tapeBytes)))));
}

// `tomkrin insert`: {slot} as typed, a standard level number, or {offset} as typed in hexadecimal,
// each read by `tomkrin insert`'s parser; one it refuses gives {error: "TAPE: the rule"}. Placed by
// slot, the result says the slot's number.
val insertLevel(const val& request) {
    val result = val::object();
    const val place = request["place"];
    const std::string tapeName = request["tapeName"].as<std::string>();
    BodyPlace body;
    if (place.hasOwnProperty("offset")) {
        std::size_t offset = 0;
        if (!parseTypedOffset(place["offset"].as<std::string>(), offset)) {
            result.set("error", FileFailure{tapeName, kTypedOffsetRule}.text());
            return result;
        }
        body = typedOffsetPlace(offset);
    } else {
        unsigned slot = 0;
        if (!parseStandardLevelNumber(place["slot"].as<std::string>(), slot)) {
            result.set("error", FileFailure{tapeName, kStandardLevelNumberRule}.text());
            return result;
        }
        body = standardLevelPlace(slot);
        result.set("slot", slot);
    }
    std::vector<std::uint8_t> tape = bytesOf(request["tape"]);
    const ForeignTapes foreign{request["force"].as<bool>(),
                               request["foreignHint"].isUndefined()
                                   ? std::string()
                                   : request["foreignHint"].as<std::string>()};
    FileFailure failure;
    if (!insertLevelIntoTape(request["levelName"].as<std::string>(), bytesOf(request["level"]),
                             tapeName, tape, body, foreign, failure))
        result.set("error", failure.text());
    else
        result.set("tape", bytesValue(tape));
    return result;
}

val loadingInstructionsOf(const val& tapeBytes) {
    const std::vector<std::uint8_t> tape = bytesOf(tapeBytes);
    const LoadingInstructions instructions = loadingInstructions(tape.data(), tape.size());
    val result = val::object();
    result.set("kind", std::string(tapeBlockKindName(instructions.kind)));
    result.set("fileName", instructions.fileName);
    val commands = val::array();
    for (const std::string& command : instructions.commands)
        commands.call<void>("push", command);
    result.set("commands", commands);
    result.set("text", instructions.text);
    return result;
}

val demoTape() {
    return bytesValue(makeDemoTape());
}

} // namespace

EMSCRIPTEN_BINDINGS(tk_tape) {
    emscripten::function("tapeDirectory", &tapeDirectory);
    emscripten::function("tapeLevels", &tapeLevels);
    emscripten::function("sheetPng", &sheetPng);
    emscripten::function("insertLevel", &insertLevel);
    emscripten::function("loadingInstructions", &loadingInstructionsOf);
    emscripten::function("demoTape", &demoTape);
}

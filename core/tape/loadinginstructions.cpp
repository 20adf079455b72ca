#include "core/tape/loadinginstructions.h"

#include "core/tape/tapedirectory.h"

LoadingInstructions loadingInstructions(const std::uint8_t* tape, std::size_t size) {
    LoadingInstructions instructions;
    for (const TapeDirectoryEntry& entry : readTapeDirectory(tape, size)) {
        if (entry.kind == TapeBlockKind::Data)
            continue;
        instructions.kind = entry.kind;
        instructions.fileName = printableFileName(entry.name);
        break;
    }
    const std::string file = " \"" + instructions.fileName + "\"";
    switch (instructions.kind) {
    case TapeBlockKind::Binary:
        instructions.commands = {"BLOAD\"CAS:\",R"};
        instructions.text = "The tape starts with the binary file" + file +
                            ": type BLOAD\"CAS:\",R and press Return, then start the tape.";
        break;
    case TapeBlockKind::Basic:
        instructions.commands = {"CLOAD", "RUN"};
        instructions.text = "The tape starts with the BASIC program" + file +
                            ": type CLOAD and press Return, start the tape, and once it has "
                            "loaded type RUN and press Return.";
        break;
    case TapeBlockKind::Ascii:
        instructions.commands = {"RUN\"CAS:\""};
        instructions.text = "The tape starts with the ASCII file" + file +
                            ": type RUN\"CAS:\" and press Return, then start the tape.";
        break;
    case TapeBlockKind::Data:
        instructions.text = "The tape holds no file header: an MSX finds no file on it to load.";
        break;
    }
    return instructions;
}

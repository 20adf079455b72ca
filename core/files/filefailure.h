#pragma once
// Why a file did not give or take what was asked of it, for a message "FILE: WHAT": the tools print
// it after their own name, the editor's front ends show it as they show every message.
#include <string>

struct FileFailure {
    std::string file; // the file, by the name it was given
    std::string what; // what is wrong with it, e.g. "cannot read it: No such file or directory"

    // "FILE: WHAT", the one form every front end gives a failure in.
    std::string text() const { return file + ": " + what; }

    // What is wrong with a file that could not be read: "cannot read it: WHY", `why` in the
    // system's (or the reader's) words.
    static std::string cannotRead(const std::string& why) { return "cannot read it: " + why; }

    // {file, cannotRead(why)}.
    static FileFailure unreadable(const std::string& file, const std::string& why) {
        return {file, cannotRead(why)};
    }
};

#pragma once
// Reading a whole input file into memory, for the tools that take tape images and level files.
#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file at `path` into `bytes`; on failure returns false with `why` saying what the
// system reported ("No such file or directory").
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& why);

// ": " and why the last file operation failed, if the C library said; empty otherwise.
std::string errnoReason();

#pragma once
// Reading a whole input file into memory, for the converters.
#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file; on failure returns false with errno describing why.
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// ": " and why the last file operation failed, if the C library said; empty otherwise.
std::string errnoReason();

#pragma once
// Building tape images block by block: the demonstration tape and the tests make theirs so.
#include <cstdint>
#include <string>
#include <vector>

// Appends a block marker and then `block` to `image`.
void appendTapeBlock(std::vector<std::uint8_t>& image, const std::vector<std::uint8_t>& block);

// A file header block: ten `id` bytes (a binary, BASIC or ASCII file) and then `name` as given
// (the file name, six bytes on a real tape).
std::vector<std::uint8_t> fileHeaderBlock(std::uint8_t id, const std::string& name);

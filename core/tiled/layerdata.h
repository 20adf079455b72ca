#pragma once
// The tile data of a layer in every form Tiled writes it: CSV, base64, and base64 compressed with
// zlib, gzip or (where the program is built with the zstd library) zstd.
#include <cstdint>
#include <string>
#include <vector>

// Decodes `text` of the given encoding ("csv" or "base64") and compression ("", "zlib", "gzip",
// "zstd") into gids; at most `most` are taken, more is an error. False with the reason in `error`.
bool decodeLayerData(const std::string& text, const std::string& encoding,
                     const std::string& compression, std::size_t most,
                     std::vector<std::uint32_t>& gids, std::string& error);

// A tile number as the CSV form and the per-tile lists write it: decimal digits, at most 2^32 - 1.
// Reads the one that starts at `from` into `gid` and returns where it ends; `from` itself when
// none starts there.
std::size_t readGid(const std::string& text, std::size_t from, std::uint32_t& gid);

// The reverse, for the tests: base64 of the gids as 32-bit little-endian numbers, compressed as
// asked ("", "zlib", "gzip", "zstd").
bool encodeLayerData(const std::vector<std::uint32_t>& gids, const std::string& compression,
                     std::string& text);

// Whether this build reads zstd-compressed tile data.
bool layerDataReadsZstd();

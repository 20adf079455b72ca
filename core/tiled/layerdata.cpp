#include "core/tiled/layerdata.h"

#include "core/tiled/levelmap.h"

#include <cctype>
#include <zlib.h>
#ifdef TK_HAVE_ZSTD
#include <zstd.h>
#endif

namespace {

constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

bool decodeBase64(const std::string& text, std::vector<std::uint8_t>& bytes, std::string& error) {
    unsigned bits = 0;
    int count = 0;
    bool padded = false;
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        if (c == '=') {
            padded = true;
            continue;
        }
        const int value = base64Value(c);
        if (value < 0 || padded) {
            error = "the base64 data holds a character that base64 has not";
            return false;
        }
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes.push_back(static_cast<std::uint8_t>(bits >> count));
        }
    }
    return true;
}

// zlib or gzip, told apart by zlib itself; never more than `most` bytes out.
bool inflateBytes(const std::vector<std::uint8_t>& in, std::size_t most,
                  std::vector<std::uint8_t>& out, const char* what, std::string& error) {
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK) {
        error = "zlib could not start";
        return false;
    }
    out.assign(most + 1, 0);
    stream.next_in = const_cast<Bytef*>(in.data());
    stream.avail_in = static_cast<uInt>(in.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const std::size_t produced = out.size() - stream.avail_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END) {
        error = produced > most
                    ? std::string("the ") + what + " data holds more tiles than the layer"
                    : std::string("the ") + what + " data is damaged or cut short";
        return false;
    }
    out.resize(produced);
    return true;
}

bool decompress(const std::vector<std::uint8_t>& in, const std::string& compression,
                std::size_t most, std::vector<std::uint8_t>& out, std::string& error) {
    if (compression.empty()) {
        out = in;
        return true;
    }
    if (compression == "zlib" || compression == "gzip")
        return inflateBytes(in, most, out, compression.c_str(), error);
    if (compression == "zstd") {
#ifdef TK_HAVE_ZSTD
        out.assign(most + 1, 0);
        const std::size_t produced = ZSTD_decompress(out.data(), out.size(), in.data(), in.size());
        if (ZSTD_isError(produced)) {
            error = std::string("the zstd data cannot be read: ") + ZSTD_getErrorName(produced);
            return false;
        }
        out.resize(produced);
        return true;
#else
        error = "zstd-compressed tile data, and this tomkrin is built without zstd; save the map "
                "with another tile layer format (Map > Map Properties > Tile Layer Format)";
        return false;
#endif
    }
    error = "tile data compressed with " + quotedForMessage(compression) +
            ", which Tiled does not write";
    return false;
}

bool decodeCsv(const std::string& text, std::size_t most, std::vector<std::uint32_t>& gids,
               std::string& error) {
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        if (i == text.size())
            return true;
        std::uint32_t gid = 0;
        const std::size_t end = readGid(text, i, gid);
        if (end == i) {
            error = "the CSV data holds " + quotedForMessage(text.substr(i, 12)) +
                    " where a tile number belongs";
            return false;
        }
        if (gids.size() == most) {
            error = "the CSV data holds more tiles than the layer";
            return false;
        }
        gids.push_back(gid);
        i = end;
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        if (i < text.size() && text[i] == ',')
            ++i;
    }
}

} // namespace

std::size_t readGid(const std::string& text, std::size_t from, std::uint32_t& gid) {
    std::uint64_t value = 0;
    std::size_t i = from;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > 0xFFFFFFFFu)
            return from;
    }
    gid = static_cast<std::uint32_t>(value);
    return i;
}

bool decodeLayerData(const std::string& text, const std::string& encoding,
                     const std::string& compression, std::size_t most,
                     std::vector<std::uint32_t>& gids, std::string& error) {
    gids.clear();
    if (encoding == "csv") {
        if (!compression.empty()) {
            error = "CSV data cannot be compressed";
            return false;
        }
        return decodeCsv(text, most, gids, error);
    }
    if (encoding != "base64") {
        error = "tile data in the encoding " + quotedForMessage(encoding) +
                ", which Tiled does not write";
        return false;
    }
    std::vector<std::uint8_t> packed, bytes;
    if (!decodeBase64(text, packed, error) ||
        !decompress(packed, compression, most * 4, bytes, error))
        return false;
    if (bytes.size() % 4 != 0 || bytes.size() > most * 4) {
        error = "the base64 data holds " + std::to_string(bytes.size()) +
                " bytes, not 4 per tile of the layer";
        return false;
    }
    for (std::size_t i = 0; i < bytes.size(); i += 4)
        gids.push_back(static_cast<std::uint32_t>(bytes[i]) |
                       static_cast<std::uint32_t>(bytes[i + 1]) << 8 |
                       static_cast<std::uint32_t>(bytes[i + 2]) << 16 |
                       static_cast<std::uint32_t>(bytes[i + 3]) << 24);
    return true;
}

bool encodeLayerData(const std::vector<std::uint32_t>& gids, const std::string& compression,
                     std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (const std::uint32_t gid : gids)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(gid >> shift));
    std::vector<std::uint8_t> packed;
    if (compression == "zlib" || compression == "gzip") {
        z_stream stream{};
        if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED,
                         compression == "gzip" ? 15 + 16 : 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return false;
        packed.assign(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32, 0);
        stream.next_in = bytes.data();
        stream.avail_in = static_cast<uInt>(bytes.size());
        stream.next_out = packed.data();
        stream.avail_out = static_cast<uInt>(packed.size());
        const int result = deflate(&stream, Z_FINISH);
        packed.resize(packed.size() - stream.avail_out);
        deflateEnd(&stream);
        if (result != Z_STREAM_END)
            return false;
    } else if (compression == "zstd") {
#ifdef TK_HAVE_ZSTD
        packed.assign(ZSTD_compressBound(bytes.size()), 0);
        const std::size_t size =
            ZSTD_compress(packed.data(), packed.size(), bytes.data(), bytes.size(), 3);
        if (ZSTD_isError(size))
            return false;
        packed.resize(size);
#else
        return false;
#endif
    } else if (compression.empty()) {
        packed = bytes;
    } else {
        return false;
    }
    text.clear();
    for (std::size_t i = 0; i < packed.size(); i += 3) {
        const unsigned b0 = packed[i];
        const unsigned b1 = i + 1 < packed.size() ? packed[i + 1] : 0;
        const unsigned b2 = i + 2 < packed.size() ? packed[i + 2] : 0;
        const unsigned group = b0 << 16 | b1 << 8 | b2;
        text += kBase64Digits[group >> 18 & 63];
        text += kBase64Digits[group >> 12 & 63];
        text += i + 1 < packed.size() ? kBase64Digits[group >> 6 & 63] : '=';
        text += i + 2 < packed.size() ? kBase64Digits[group & 63] : '=';
    }
    return true;
}

bool layerDataReadsZstd() {
#ifdef TK_HAVE_ZSTD
    return true;
#else
    return false;
#endif
}

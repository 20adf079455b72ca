// The libraries that read and write Tiled maps, as each tree links them: the native trees take
// Debian's shared libraries, the Windows test program built from this same file links the MinGW
// builds statically and runs under Wine.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <zlib.h>
#ifdef TK_HAVE_ZSTD
#include <zstd.h>
#endif

#include <string>
#include <vector>

namespace {

// Deflates `text` as zlib (window bits 15) or gzip (15 + 16) data, the two compressions that a
// Tiled tile layer may name.
std::vector<unsigned char> deflated(const std::string& text, int windowBits) {
    z_stream stream{};
    EXPECT_EQ(
        deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY),
        Z_OK);
    std::vector<unsigned char> out(deflateBound(&stream, text.size()) + 32);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// Inflates zlib or gzip data, told apart by its header (window bits 15 + 32).
std::string inflated(const std::vector<unsigned char>& data, size_t size) {
    z_stream stream{};
    EXPECT_EQ(inflateInit2(&stream, 15 + 32), Z_OK);
    std::string out(size, '\0');
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    int status = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return status == Z_STREAM_END ? out : "inflate failed";
}

} // namespace

TEST(MapLibraries, ParseXmlAndJsonMaps) {
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string("<map width='24'><layer name='cells'>"
                                "<data encoding='csv'>1,0,\n45</data></layer></map>"));
    pugi::xml_node layer = xml.child("map").child("layer");
    EXPECT_EQ(xml.child("map").attribute("width").as_int(), 24);
    EXPECT_STREQ(layer.attribute("name").value(), "cells");
    EXPECT_STREQ(layer.child_value("data"), "1,0,\n45");
    EXPECT_FALSE(pugi::xml_document().load_string("<map><layer></map>"));

    nlohmann::json json = nlohmann::json::parse(
        R"({"width": 24, "layers": [{"name": "cells", "data": [1, 0, 45]}]})");
    EXPECT_EQ(json["width"].get<int>(), 24);
    EXPECT_EQ(json["layers"][0]["data"].get<std::vector<int>>(), (std::vector<int>{1, 0, 45}));
    EXPECT_FALSE(nlohmann::json::accept(R"({"width": )"));
}

TEST(MapLibraries, InflateZlibGzipAndZstdLayers) {
    std::string cells;
    for (int i = 0; i < 432; i++)
        cells += static_cast<char>(i % 7 ? 0 : i % 46);
    EXPECT_EQ(inflated(deflated(cells, 15), cells.size()), cells);
    EXPECT_EQ(inflated(deflated(cells, 15 + 16), cells.size()), cells);
#ifdef TK_HAVE_ZSTD
    std::vector<char> packed(ZSTD_compressBound(cells.size()));
    size_t size = ZSTD_compress(packed.data(), packed.size(), cells.data(), cells.size(), 3);
    ASSERT_FALSE(ZSTD_isError(size));
    std::string unpacked(cells.size(), '\0');
    EXPECT_EQ(ZSTD_decompress(&unpacked[0], unpacked.size(), packed.data(), size), cells.size());
    EXPECT_EQ(unpacked, cells);
#endif
}

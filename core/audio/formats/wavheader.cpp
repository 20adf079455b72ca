#include "core/audio/formats/wavheader.h"

namespace {

constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint32_t kFmtChunkSize = 16;

class HeaderWriter {
  public:
    explicit HeaderWriter(std::array<std::uint8_t, kWavHeaderSize>& out) : out_(out) {}
    void tag(const char (&text)[5]) {
        for (int i = 0; i < 4; ++i)
            out_[pos_++] = static_cast<std::uint8_t>(text[i]);
    }
    void u16(std::uint16_t value) {
        out_[pos_++] = static_cast<std::uint8_t>(value & 0xFF);
        out_[pos_++] = static_cast<std::uint8_t>(value >> 8);
    }
    void u32(std::uint32_t value) {
        u16(static_cast<std::uint16_t>(value & 0xFFFF));
        u16(static_cast<std::uint16_t>(value >> 16));
    }

  private:
    std::array<std::uint8_t, kWavHeaderSize>& out_;
    std::size_t pos_ = 0;
};

} // namespace

std::array<std::uint8_t, kWavHeaderSize> makeWavHeader(const WavFormat& format,
                                                       std::uint32_t dataSize) {
    const std::uint16_t blockAlign =
        static_cast<std::uint16_t>(format.channels * ((format.bitsPerSample + 7) / 8));
    std::array<std::uint8_t, kWavHeaderSize> header{};
    HeaderWriter out(header);
    out.tag("RIFF");
    out.u32(dataSize + (dataSize & 1u) + 36);
    out.tag("WAVE");
    out.tag("fmt ");
    out.u32(kFmtChunkSize);
    out.u16(kPcmFormat);
    out.u16(format.channels);
    out.u32(format.sampleRate);
    out.u32(format.sampleRate * blockAlign);
    out.u16(blockAlign);
    out.u16(format.bitsPerSample);
    out.tag("data");
    out.u32(dataSize);
    return header;
}

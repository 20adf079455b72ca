#include "core/audio/report/decodepicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/picture/titletext.h"

namespace {

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{0, 0, 0};
constexpr Rgb kSignalPaper{236, 236, 236};
constexpr Rgb kSignal{40, 70, 140};
constexpr Rgb kProblem{220, 20, 20};
constexpr Rgb kRule{170, 170, 170};
constexpr Rgb kSpeed{20, 130, 40};
// The bands of the blocks, a file in one colour and the next file in the other.
constexpr Rgb kBands[2] = {{250, 200, 90}, {130, 200, 230}};

// The rows of a take, from the top, in pixels.
constexpr int kTitle = 12;
constexpr int kEnvelope = 80;
constexpr int kBand = 14;
constexpr int kSpeedRow = 40;
constexpr int kGap = 6;
constexpr int kTakeHeight = kTitle + kEnvelope + kBand + kSpeedRow + kGap;
constexpr int kScale = 14;
// The speed row shows 0.9 to 1.1 of the nominal speed.
constexpr double kSlowest = 0.9;
constexpr double kFastest = 1.1;

double longest(const DecodeResult& result) {
    double seconds = 0;
    for (const DecodedTake& take : result.takes)
        seconds = std::max(seconds, take.seconds);
    for (const ImageBlock& block : result.blocks)
        seconds = std::max(seconds, block.end);
    return seconds > 0 ? seconds : 1;
}

class Canvas {
  public:
    Canvas(RgbImage& image, double seconds) : image_(image), seconds_(seconds) {}
    int x(double seconds) const {
        return static_cast<int>(std::floor(seconds / seconds_ * kDecodePictureWidth));
    }
    // The columns from `start` to `end`, `least` at least, so that a short stretch still shows.
    void span(double start, double end, int y, int height, Rgb colour, int least = 1) {
        const int from = x(start);
        image_.fill(from, y, std::max(least, x(end) - from), height, colour);
    }
    RgbImage& image() { return image_; }

  private:
    RgbImage& image_;
    double seconds_;
};

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", static_cast<int>(seconds) / 60,
                  static_cast<int>(seconds) % 60);
    return text;
}

void drawTake(Canvas& canvas, const DecodeResult& result, std::size_t index, int top) {
    const DecodedTake& take = result.takes[index];
    RgbImage& image = canvas.image();
    drawText(image, 2, top + 2, take.name + "  " + secondsText(take.seconds), kInk, 1);
    const int signalTop = top + kTitle;
    image.fill(0, signalTop, canvas.x(take.seconds), kEnvelope, kSignalPaper);
    // The envelope: the loudest sample of the stretches under each column, about the middle.
    const int middle = signalTop + kEnvelope / 2;
    std::vector<float> columns(kDecodePictureWidth, 0);
    for (std::size_t i = 0; i < take.envelope.size(); ++i) {
        const int x = canvas.x(static_cast<double>(i) / kEnvelopeRate);
        if (x >= 0 && x < kDecodePictureWidth)
            columns[x] = std::max(columns[x], take.envelope[i]);
    }
    for (int x = 0; x < kDecodePictureWidth; ++x) {
        const int half =
            static_cast<int>(std::lround(std::min(1.0f, columns[x]) * (kEnvelope / 2 - 1)));
        if (half > 0)
            image.fill(x, middle - half, 1, 2 * half, kSignal);
    }
    // The blocks as bands, named by their file where the name fits.
    const int bandTop = signalTop + kEnvelope;
    std::string file;
    int colour = 0;
    for (std::size_t i = 0; i < result.blocks.size(); ++i) {
        const ImageBlock& block = result.blocks[i];
        if (block.take != index)
            continue;
        if (block.header || block.file != file)
            colour ^= 1;
        file = block.file;
        canvas.span(block.start, block.end, bandTop + 1, kBand - 2, kBands[colour]);
        const std::string name = block.file.empty() ? std::to_string(i + 1) : block.file;
        const int from = canvas.x(block.start);
        if (textWidth(name, 1) + 2 <= canvas.x(block.end) - from)
            drawText(image, from + 2, bandTop + 4, name, kInk, 1);
    }
    // The problems over the envelope and the bands, two columns wide at least, so that a stretch
    // of a few milliseconds still shows on a long recording.
    for (const DecodeProblem& problem : result.problems)
        if (result.blocks[problem.imageBlock].take == index)
            canvas.span(problem.start, problem.end, signalTop, kEnvelope + kBand, kProblem, 2);
    // The tape's speed, as measured on each block's lead-in, with the nominal speed as a rule.
    const int speedTop = bandTop + kBand;
    const auto speedY = [&](double speed) {
        const double share =
            (std::clamp(speed, kSlowest, kFastest) - kSlowest) / (kFastest - kSlowest);
        return speedTop + kSpeedRow - 1 - static_cast<int>(std::lround(share * (kSpeedRow - 1)));
    };
    image.fill(0, speedY(1.0), kDecodePictureWidth, 1, kRule);
    drawText(image, 2, speedTop + 1, "speed", kRule, 1);
    for (const DecodedBlock& block : take.blocks)
        canvas.span(block.seconds, block.endSeconds, speedY(block.speed) - 1, 3, kSpeed);
}

// Ticks and times along the bottom, at a step that leaves room for the times.
void drawScale(Canvas& canvas, double seconds, int top) {
    RgbImage& image = canvas.image();
    double step = 1;
    for (const double each :
         {1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0, 120.0, 300.0, 600.0, 900.0, 1800.0, 3600.0}) {
        step = each;
        if (seconds / each <= 12)
            break;
    }
    image.fill(0, top, kDecodePictureWidth, 1, kInk);
    for (double t = 0; t <= seconds; t += step) {
        const int x = canvas.x(t);
        image.fill(x, top, 1, 4, kInk);
        drawText(image, x + 2, top + 4, secondsText(t), kInk, 1);
    }
}

} // namespace

RgbImage decodePicture(const DecodeResult& result) {
    const double seconds = longest(result);
    const int height = static_cast<int>(result.takes.size()) * kTakeHeight + kScale;
    RgbImage image(kDecodePictureWidth, std::max(height, kScale), kPaper);
    Canvas canvas(image, seconds);
    for (std::size_t i = 0; i < result.takes.size(); ++i)
        drawTake(canvas, result, i, static_cast<int>(i) * kTakeHeight);
    drawScale(canvas, seconds, static_cast<int>(result.takes.size()) * kTakeHeight);
    return image;
}

double decodePictureSeconds(const DecodeResult& result, int x) {
    return longest(result) * x / kDecodePictureWidth;
}

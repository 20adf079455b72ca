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
// The row of the image the takes gave together, below theirs when there are several.
constexpr int kCombinedBand = 2 * kBand;
constexpr int kCombinedHeight = kTitle + kCombinedBand + kGap;
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

// Each file's blocks in one colour, the next file's in the other, as the image holds them.
int bandColour(const DecodeResult& result, std::size_t block) {
    int colour = 0;
    std::string file;
    for (std::size_t i = 0; i <= block && i < result.blocks.size(); ++i) {
        if (result.blocks[i].header || result.blocks[i].file != file)
            colour ^= 1;
        file = result.blocks[i].file;
    }
    return colour;
}

// The image's block `block` as a band from `start` to `end`: its number (with several takes) and
// its file where they fit.
void drawBand(Canvas& canvas, const DecodeResult& result, std::size_t block, double start,
              double end, int top) {
    canvas.span(start, end, top + 1, kBand - 2, kBands[bandColour(result, block)]);
    const std::string& file = block < result.blocks.size() ? result.blocks[block].file : "";
    std::string name = std::to_string(block + 1);
    if (result.takes.size() > 1 && !file.empty())
        name += " " + file;
    else if (!file.empty())
        name = file;
    const int from = canvas.x(start);
    if (textWidth(name, 1) + 2 <= canvas.x(end) - from)
        drawText(canvas.image(), from + 2, top + 4, name, kInk, 1);
}

// What to add to a time in the recording the image's block `block` was taken from to have it on
// the first take's time, which the combined row is drawn on: the takes started at other places
// of the tape and ran at other speeds, so a block held by the first take is drawn where the first
// take holds it, and one it lacks is moved as far as the nearest block both takes hold.
double shiftToFirstTake(const DecodeResult& result, std::size_t block) {
    const auto& sources = result.combined.sources;
    if (block >= sources.size() || sources[block].holders.empty())
        return 0;
    const std::size_t from = sources[block].holders.front().take;
    if (from == 0)
        return 0;
    for (std::size_t distance = 0; distance < sources.size(); ++distance)
        for (const std::size_t i : {block - distance, block + distance}) {
            if (i >= sources.size())
                continue;
            const TakeHolding* first = nullptr;
            const TakeHolding* other = nullptr;
            for (const TakeHolding& holding : sources[i].holders) {
                if (holding.take == 0)
                    first = &holding;
                else if (holding.take == from)
                    other = &holding;
            }
            if (first && other)
                return first->seconds - other->seconds;
        }
    return 0;
}

// The image the takes gave together, on the first take's time: its blocks as bands, numbered as
// in the takes' rows, and its problems in red: bytes no take held, or the takes together leave
// unsure.
void drawCombined(Canvas& canvas, const DecodeResult& result, int top) {
    RgbImage& image = canvas.image();
    const std::string verdict = result.clean
                                    ? "clean"
                                    : std::to_string(result.problems.size()) +
                                          (result.problems.size() == 1 ? " problem" : " problems");
    drawText(image, 2, top + 2,
             "the takes together: " + std::to_string(result.blocks.size()) + " blocks, " + verdict,
             kInk, 1);
    const int bandTop = top + kTitle;
    image.fill(0, bandTop, kDecodePictureWidth, kCombinedBand, kSignalPaper);
    for (std::size_t i = 0; i < result.blocks.size(); ++i) {
        const double shift = shiftToFirstTake(result, i);
        drawBand(canvas, result, i, result.blocks[i].start + shift, result.blocks[i].end + shift,
                 bandTop + (kCombinedBand - kBand) / 2);
    }
    for (const DecodeProblem& problem : result.problems) {
        const double shift = shiftToFirstTake(result, problem.imageBlock);
        canvas.span(problem.start + shift, problem.end + shift, bandTop, kCombinedBand, kProblem,
                    2);
    }
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
    // The blocks as bands. With one take they are the image's, named by their file where the
    // name fits, and the problems lie over them; with several, each block the take holds is
    // numbered as the image's block it went into, the number the combined row below names too,
    // and the red marks what this take lost on its own, which another take may have held.
    const int bandTop = signalTop + kEnvelope;
    if (result.takes.size() > 1) {
        for (std::size_t i = 0; i < result.combined.sources.size(); ++i)
            for (const TakeHolding& holding : result.combined.sources[i].holders) {
                if (holding.take != index || holding.block >= take.blocks.size())
                    continue;
                const DecodedBlock& block = take.blocks[holding.block];
                const double end = std::max(block.endSeconds, block.stopSeconds);
                drawBand(canvas, result, i, block.seconds, end, bandTop);
                for (const LostStretch& lost : block.lost)
                    canvas.span(lost.seconds, lost.endSeconds, signalTop, kEnvelope + kBand,
                                kProblem, 2);
            }
    } else {
        for (std::size_t i = 0; i < result.blocks.size(); ++i)
            drawBand(canvas, result, i, result.blocks[i].start, result.blocks[i].end, bandTop);
        // The problems over the envelope and the bands, two columns wide at least, so that a
        // stretch of a few milliseconds still shows on a long recording.
        for (const DecodeProblem& problem : result.problems)
            canvas.span(problem.start, problem.end, signalTop, kEnvelope + kBand, kProblem, 2);
    }
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
    const int takes = static_cast<int>(result.takes.size());
    const int combined = takes > 1 ? kCombinedHeight : 0;
    RgbImage image(kDecodePictureWidth, takes * kTakeHeight + combined + kScale, kPaper);
    Canvas canvas(image, seconds);
    for (int i = 0; i < takes; ++i)
        drawTake(canvas, result, static_cast<std::size_t>(i), i * kTakeHeight);
    if (combined > 0)
        drawCombined(canvas, result, takes * kTakeHeight);
    drawScale(canvas, seconds, takes * kTakeHeight + combined);
    return image;
}

double decodePictureSeconds(const DecodeResult& result, int x) {
    return longest(result) * x / kDecodePictureWidth;
}

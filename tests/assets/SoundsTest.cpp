// The four sound effects: format, length, loudness and shape over time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "AssetFiles.h"

namespace assets_test {
namespace {

constexpr double kRate = 44100.0;
constexpr double kSilence = -120.0;

double dbfs(double amplitude) {
  return amplitude > 0 ? 20.0 * std::log10(amplitude / 32768.0) : kSilence;
}

size_t frameAt(const Wave& w, double seconds) {
  return std::min(w.frames(), size_t(std::max(0.0, seconds) * kRate));
}

// Loudest sample of either channel over [from, to) seconds, and where it is.
struct Peak {
  double db = kSilence;
  double at = 0;
};
Peak peakOf(const Wave& w, double from, double to) {
  Peak p;
  int best = 0;
  for (size_t f = frameAt(w, from); f < frameAt(w, to); ++f)
    for (size_t ch = 0; ch < 2; ++ch) {
      const int v = std::abs(int(w.samples[2 * f + ch]));
      if (v > best) {
        best = v;
        p.at = double(f) / kRate;
      }
    }
  p.db = dbfs(best);
  return p;
}

double rmsOf(const Wave& w, double from, double to) {
  double sum = 0;
  size_t n = 0;
  for (size_t f = frameAt(w, from); f < frameAt(w, to); ++f)
    for (size_t ch = 0; ch < 2; ++ch, ++n)
      sum += double(w.samples[2 * f + ch]) * w.samples[2 * f + ch];
  return n ? std::sqrt(sum / double(n)) : 0.0;
}

struct SoundCase {
  const char* file;
  size_t frames;
  double peakDb;
  double peakFrom, peakTo;  // where the loudest sample must be, in seconds
};
void PrintTo(const SoundCase& c, std::ostream* os) {
  *os << c.file;
}
const SoundCase kSounds[] = {
    {"worm.wav", 17184, -26.0, 0.0, 0.2},  // somewhere in the first burst
    {"boom.wav", 1224, -1.3, 0.0, 0.001},  // right at the start
    {"eat.wav", 10816, -2.6, 0.22, 0.24},  // the last, hardest bite
    {"Menu.wav", 2958, -0.7, 0.012, 0.016},
};

class SoundFile : public ::testing::TestWithParam<SoundCase> {};

TEST_P(SoundFile, IsStereo16BitPcmOfItsLength) {
  const SoundCase& c = GetParam();
  const Wave w = loadWave(c.file);
  EXPECT_EQ(w.format, 1) << "integer PCM";
  EXPECT_EQ(w.channels, 2);
  EXPECT_EQ(w.rate, 44100u);
  EXPECT_EQ(w.bits, 16);
  EXPECT_EQ(w.blockAlign, 4);
  EXPECT_EQ(w.byteRate, 44100u * 4);
  EXPECT_EQ(w.frames(), c.frames);
}

TEST_P(SoundFile, PeaksAtItsLevelAndTime) {
  const SoundCase& c = GetParam();
  const Wave w = loadWave(c.file);
  ASSERT_EQ(w.channels, 2);
  const Peak p = peakOf(w, 0, 1e9);
  EXPECT_NEAR(p.db, c.peakDb, 1.0) << c.file;
  EXPECT_GE(p.at, c.peakFrom) << c.file;
  EXPECT_LE(p.at, c.peakTo) << c.file;
}

TEST_P(SoundFile, ChannelsDifferSlightly) {
  const SoundCase& c = GetParam();
  const Wave w = loadWave(c.file);
  ASSERT_EQ(w.channels, 2);
  double diff = 0, left = 0;
  for (size_t f = 0; f < w.frames(); ++f) {
    const double l = w.samples[2 * f], r = w.samples[2 * f + 1];
    diff += (l - r) * (l - r);
    left += l * l;
  }
  EXPECT_GT(diff, 0) << c.file << ": the channels are identical";
  EXPECT_LT(std::sqrt(diff), 0.6 * std::sqrt(left)) << c.file << ": the channels are unrelated";
}

INSTANTIATE_TEST_SUITE_P(Assets, SoundFile, ::testing::ValuesIn(kSounds),
                         [](const auto& info) { return testName(info.param.file); });

// The loudest sample over a stretch of time, relative to the whole sound's.
struct StretchCase {
  const char* file;
  const char* what;
  double from, to;
  double minDb, maxDb;
};
void PrintTo(const StretchCase& c, std::ostream* os) {
  *os << c.file << " " << c.what;
}
const StretchCase kStretches[] = {
    {"worm.wav", "pause between the bursts", 0.205, 0.305, kSilence, -25},
    {"worm.wav", "second, quieter burst", 0.315, 0.385, -12, -2},
    {"boom.wav", "after the click has died", 0.012, 1, kSilence, -30},
    {"eat.wav", "first bites", 0.0, 0.08, -40, -8},
    {"eat.wav", "after the last bite", 0.243, 1, kSilence, -30},
    {"Menu.wav", "first two milliseconds", 0.0, 0.002, kSilence, -12},
    {"Menu.wav", "after 60 ms", 0.06, 1, kSilence, -50},
};

class SoundShape : public ::testing::TestWithParam<StretchCase> {};

TEST_P(SoundShape, StretchHasItsLevel) {
  const StretchCase& c = GetParam();
  const Wave w = loadWave(c.file);
  ASSERT_EQ(w.channels, 2);
  const double relative = peakOf(w, c.from, c.to).db - peakOf(w, 0, 1e9).db;
  EXPECT_GE(relative, c.minDb) << c.file << ": " << c.what;
  EXPECT_LE(relative, c.maxDb) << c.file << ": " << c.what;
}

INSTANTIATE_TEST_SUITE_P(Assets, SoundShape, ::testing::ValuesIn(kStretches), [](const auto& info) {
  return testName(std::string(info.param.file) + "_" + info.param.what);
});

TEST(EatSound, CrunchGrowsLouder) {
  const Wave w = loadWave("eat.wav");
  ASSERT_EQ(w.channels, 2);
  double previous = 0;
  for (double t = 0.0; t < 0.2; t += 0.05) {
    const double level = rmsOf(w, t, t + 0.05);
    EXPECT_GT(level, previous) << "at " << t << " s";
    previous = level;
  }
}

}  // namespace
}  // namespace assets_test

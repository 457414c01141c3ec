// The four sound effects, synthesised from filtered noise and short tones.
// Each is scaled at the end so its loudest sample sits at a chosen level, so
// retuning the shape never changes how loud it plays in the game.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "assetgen.h"

namespace assetgen {
namespace {

constexpr double kRate = 44100.0;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

struct Stereo {
  std::vector<double> l, r;
  explicit Stereo(size_t frames) : l(frames, 0.0), r(frames, 0.0) {}
  size_t frames() const { return l.size(); }
};

double seconds(size_t frame) {
  return double(frame) / kRate;
}

// One-pole low-pass, in place.
void lowPass(std::vector<double>& x, double cutoffHz) {
  const double a = 1.0 - std::exp(-kTwoPi * cutoffHz / kRate);
  double y = 0;
  for (double& s : x) s = y += a * (s - y);
}

void highPass(std::vector<double>& x, double cutoffHz) {
  std::vector<double> low = x;
  lowPass(low, cutoffHz);
  for (size_t i = 0; i < x.size(); ++i) x[i] -= low[i];
}

std::vector<double> noise(Rng& rng, size_t n) {
  std::vector<double> v(n);
  for (double& s : v) s = rng.signedUnit();
  return v;
}

// The two channels are the same source with a little of their own noise in
// each, so the effect is slightly wide but never hollow in mono.
Stereo widen(Rng& rng, const std::vector<double>& shared, double own, double lowHz, double highHz) {
  Stereo s(shared.size());
  std::vector<double> l = noise(rng, shared.size()), r = noise(rng, shared.size());
  for (size_t i = 0; i < shared.size(); ++i) {
    l[i] = (1 - own) * shared[i] + own * l[i];
    r[i] = (1 - own) * shared[i] + own * r[i];
  }
  for (auto* ch : {&l, &r}) {
    if (highHz > 0) highPass(*ch, highHz);
    if (lowHz > 0) {
      // Two poles: one alone leaves too much hiss above the cutoff.
      lowPass(*ch, lowHz);
      lowPass(*ch, lowHz);
    }
  }
  s.l = std::move(l);
  s.r = std::move(r);
  return s;
}

Sound finish(const Stereo& s, double peakDbfs) {
  double peak = 0;
  for (size_t i = 0; i < s.frames(); ++i)
    peak = std::max({peak, std::fabs(s.l[i]), std::fabs(s.r[i])});
  const double gain = peak > 0 ? 32768.0 * std::pow(10.0, peakDbfs / 20.0) / peak : 0.0;
  Sound out;
  out.samples.reserve(s.frames() * 2);
  auto q = [&](double v) { return int16_t(std::clamp(std::lround(v * gain), -32768L, 32767L)); };
  for (size_t i = 0; i < s.frames(); ++i) {
    out.samples.push_back(q(s.l[i]));
    out.samples.push_back(q(s.r[i]));
  }
  return out;
}

// Linear ramp from 0 at a to 1 at b.
double ramp(double t, double a, double b) {
  return std::clamp((t - a) / (b - a), 0.0, 1.0);
}

}  // namespace

Sound makeWorm() {
  constexpr size_t kFrames = 17184;
  Rng rng(301);
  Stereo s = widen(rng, noise(rng, kFrames), 0.2, 3500, 700);
  // Rustling: the level flickers a little every few milliseconds.
  std::vector<double> flicker(kFrames);
  double level = 0.7, goal = 0.7;
  for (size_t i = 0; i < kFrames; ++i) {
    if (i % 200 == 0) goal = rng.range(0.35, 1.0);
    level += 0.02 * (goal - level);
    flicker[i] = level;
  }
  for (size_t i = 0; i < kFrames; ++i) {
    const double t = seconds(i);
    double env;
    if (t < 0.2)
      env = ramp(t, 0.0, 0.015) * (1.0 - 0.98 * ramp(t, 0.15, 0.2));
    else if (t < 0.31)
      env = 0.02;
    else
      env = 0.02 + 0.43 * ramp(t, 0.31, 0.322) * (1.0 - ramp(t, 0.365, kFrames / kRate));
    s.l[i] *= env * flicker[i];
    s.r[i] *= env * flicker[i];
  }
  return finish(s, -26.0);
}

Sound makeBoom() {
  constexpr size_t kFrames = 1224;
  Rng rng(302);
  Stereo s = widen(rng, noise(rng, kFrames), 0.15, 6000, 0);
  for (size_t i = 0; i < kFrames; ++i) {
    const double t = seconds(i);
    const double env = std::exp(-t / 0.0017);
    const double thump = std::cos(kTwoPi * 190.0 * t);
    s.l[i] = env * (0.7 * thump + 0.5 * s.l[i]);
    s.r[i] = env * (0.66 * thump + 0.5 * s.r[i]);
  }
  return finish(s, -1.3);
}

Sound makeEat() {
  constexpr size_t kFrames = 10816;
  constexpr double kLastBite = 0.228;
  Rng rng(303);
  Stereo crunch = widen(rng, noise(rng, kFrames), 0.25, 9000, 1200);
  Stereo body = widen(rng, noise(rng, kFrames), 0.25, 1800, 200);
  // Bites come at uneven intervals and get harder towards the last one,
  // which is clearly the hardest.
  std::vector<double> env(kFrames, 0.0);
  auto bite = [&](double at, double strength, double decay) {
    for (size_t i = size_t(at * kRate); i < kFrames; ++i) {
      const double dt = seconds(i) - at;
      env[i] += strength * std::min(1.0, dt / 0.0004) * std::exp(-dt / decay);
    }
  };
  for (double t = 0.012; t < 0.205; t += rng.range(0.014, 0.024)) {
    const double growth = t / 0.205;
    bite(t, 0.08 + 0.5 * growth * growth, rng.range(0.002, 0.004));
  }
  bite(kLastBite, 1.0, 0.003);
  for (size_t i = 0; i < kFrames; ++i) {
    const double t = seconds(i);
    const double bed = 0.04 * (t / kLastBite) * (t / kLastBite) * (t < kLastBite ? 1.0 : 0.0);
    const double tail = 1.0 - ramp(t, kFrames / kRate - 0.002, kFrames / kRate);
    const double level = tail * (env[i] + bed);
    crunch.l[i] = level * (0.75 * crunch.l[i] + 0.6 * body.l[i]);
    crunch.r[i] = level * (0.75 * crunch.r[i] + 0.6 * body.r[i]);
  }
  return finish(crunch, -2.6);
}

Sound makeMenuClick() {
  constexpr size_t kFrames = 2958;
  constexpr double kPeakAt = 0.014;
  Rng rng(304);
  Stereo hiss = widen(rng, noise(rng, kFrames), 0.3, 0, 4000);
  Stereo s(kFrames);
  for (size_t i = 0; i < kFrames; ++i) {
    const double t = seconds(i);
    double env = t < kPeakAt ? std::pow(std::sin(0.5 * std::numbers::pi * t / kPeakAt), 2)
                             : std::exp(-(t - kPeakAt) / 0.009);
    env *= 1.0 - ramp(t, 0.05, 0.06);
    const double tone = std::sin(kTwoPi * 2600.0 * t);
    const double overtone = std::sin(kTwoPi * 5200.0 * t + 0.4);
    s.l[i] = env * (0.7 * tone + 0.2 * overtone + 0.12 * hiss.l[i]);
    s.r[i] = env * (0.7 * tone + 0.18 * overtone + 0.12 * hiss.r[i]);
  }
  return finish(s, -0.7);
}

}  // namespace assetgen

// Readers for the generated files, kept independent of the generator's own
// code so a fault in its writers cannot hide itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets_test {

struct Rgb {
  int r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
constexpr Rgb hex(uint32_t v) {
  return Rgb{int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)};
}
std::string show(Rgb c);

struct Picture {
  int w = 0, h = 0;
  std::vector<Rgb> px;
  const Rgb& at(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
};

// A GoogleTest case name from any text: everything but letters and digits becomes '_'.
std::string testName(std::string s);

std::string assetPath(const std::string& name);
std::vector<uint8_t> readBytes(const std::string& path);
uint32_t le32(const std::vector<uint8_t>& b, size_t at);
uint16_t le16(const std::vector<uint8_t>& b, size_t at);

// Loads through SDL_LoadBMP, as the game does; fails the test if it cannot.
Picture loadPicture(const std::string& name);

struct Wave {
  uint16_t format = 0, channels = 0, blockAlign = 0, bits = 0;
  uint32_t rate = 0, byteRate = 0;
  std::vector<int16_t> samples;  // interleaved
  size_t frames() const { return channels ? samples.size() / channels : 0; }
};
// Parses the RIFF chunks itself, so a malformed header shows up as a failure.
Wave loadWave(const std::string& name);

}  // namespace assets_test

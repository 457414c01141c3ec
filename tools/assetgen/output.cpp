// Basic pixel helpers and the two file writers.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "assetgen.h"

namespace assetgen {

uint8_t clampByte(double v) {
  if (!(v > 0.0)) return 0;  // also catches NaN
  if (v >= 255.0) return 255;
  return uint8_t(std::lround(v));
}

Rgb lerp(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return Rgb{clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
             clampByte(a.b + (b.b - a.b) * t)};
}

Image Image::crop(int x0, int y0, int cw, int ch) const {
  Image out(cw, ch);
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) out.at(x, y) = at(x0 + x, y0 + y);
  return out;
}

void Field::normalize() {
  auto [lo, hi] = std::minmax_element(v.begin(), v.end());
  double l = *lo, span = *hi - *lo;
  for (double& x : v) x = span > 0 ? (x - l) / span : 0.5;
}

void Field::blur() {
  Field src = *this;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double sum = 0, weight = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          int sx = x + dx, sy = y + dy;
          if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
          double k = (dx == 0 ? 2.0 : 1.0) * (dy == 0 ? 2.0 : 1.0);
          sum += src.at(sx, sy) * k;
          weight += k;
        }
      at(x, y) = sum / weight;
    }
}

Field whiteNoise(Rng& rng, int w, int h) {
  Field f(w, h);
  for (double& x : f.v) x = rng.unit();
  return f;
}

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) throw std::runtime_error("cannot open " + path + " for writing");
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!f) throw std::runtime_error("failed writing " + path);
}

}  // namespace

void writeBmp(const std::string& path, const Image& img) {
  const uint32_t stride = (uint32_t(img.w) * 3u + 3u) & ~3u;
  const uint32_t pixelBytes = stride * uint32_t(img.h);
  const uint32_t headerBytes = 14 + 40;
  std::vector<uint8_t> out;
  out.reserve(headerBytes + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  put32(out, headerBytes + pixelBytes);
  put32(out, 0);
  put32(out, headerBytes);
  put32(out, 40);  // BITMAPINFOHEADER
  put32(out, uint32_t(img.w));
  put32(out, uint32_t(img.h));  // positive height: rows stored bottom-up
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);  // BI_RGB, no compression
  put32(out, pixelBytes);
  put32(out, 2835);  // 72 dpi, in pixels per metre
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = img.h - 1; y >= 0; --y) {
    for (int x = 0; x < img.w; ++x) {
      const Rgb& p = img.at(x, y);
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
    for (uint32_t pad = uint32_t(img.w) * 3u; pad < stride; ++pad) out.push_back(0);
  }
  writeFile(path, out);
}

void writeWav(const std::string& path, const Sound& snd) {
  const uint32_t dataBytes = uint32_t(snd.samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  for (char c : std::string("RIFF")) out.push_back(uint8_t(c));
  put32(out, 36 + dataBytes);
  for (char c : std::string("WAVEfmt ")) out.push_back(uint8_t(c));
  put32(out, 16);
  put16(out, 1);  // integer PCM
  put16(out, 2);
  put32(out, 44100);
  put32(out, 44100 * 4);
  put16(out, 4);
  put16(out, 16);
  for (char c : std::string("data")) out.push_back(uint8_t(c));
  put32(out, dataBytes);
  for (int16_t s : snd.samples) put16(out, uint16_t(s));
  writeFile(path, out);
}

}  // namespace assetgen

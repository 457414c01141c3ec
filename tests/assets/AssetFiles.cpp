#include "AssetFiles.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace assets_test {

std::string testName(std::string s) {
  for (char& c : s)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return s;
}

std::string show(Rgb c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r & 0xFF, c.g & 0xFF, c.b & 0xFF);
  return buf;
}

std::string assetPath(const std::string& name) {
  return std::string(KREL_ASSET_DIR) + "/" + name;
}

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
  return at + 2 <= b.size() ? uint16_t(b[at] | b[at + 1] << 8) : 0;
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return at + 4 <= b.size() ? uint32_t(le16(b, at)) | uint32_t(le16(b, at + 2)) << 16 : 0;
}

Picture loadPicture(const std::string& name) {
  Picture pic;
  SDL_Surface* raw = SDL_LoadBMP(assetPath(name).c_str());
  EXPECT_NE(raw, nullptr) << name << ": " << SDL_GetError();
  if (!raw) return pic;
  SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(raw);
  EXPECT_NE(s, nullptr) << SDL_GetError();
  if (!s) return pic;
  pic.w = s->w;
  pic.h = s->h;
  pic.px.resize(size_t(s->w) * size_t(s->h));
  for (int y = 0; y < s->h; ++y) {
    const auto* row = static_cast<const uint8_t*>(s->pixels) + size_t(y) * size_t(s->pitch);
    for (int x = 0; x < s->w; ++x)
      pic.px[size_t(y) * size_t(s->w) + size_t(x)] =
          Rgb{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
  }
  SDL_FreeSurface(s);
  return pic;
}

Wave loadWave(const std::string& name) {
  Wave w;
  const std::vector<uint8_t> b = readBytes(assetPath(name));
  EXPECT_GE(b.size(), 12u) << name;
  if (b.size() < 12) return w;
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << name;
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE") << name;
  EXPECT_EQ(le32(b, 4), b.size() - 8) << name << ": RIFF size does not match the file";
  bool haveFmt = false, haveData = false;
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string id(b.begin() + long(at), b.begin() + long(at) + 4);
    const uint32_t size = le32(b, at + 4);
    const size_t body = at + 8;
    EXPECT_LE(body + size, b.size()) << name << ": chunk " << id << " runs past the end";
    if (body + size > b.size()) break;
    if (id == "fmt ") {
      haveFmt = true;
      w.format = le16(b, body);
      w.channels = le16(b, body + 2);
      w.rate = le32(b, body + 4);
      w.byteRate = le32(b, body + 8);
      w.blockAlign = le16(b, body + 12);
      w.bits = le16(b, body + 14);
    } else if (id == "data") {
      haveData = true;
      EXPECT_EQ(size % 2, 0u) << name;
      for (size_t i = 0; i + 1 < size; i += 2) w.samples.push_back(int16_t(le16(b, body + i)));
    }
    at = body + size + (size & 1);
  }
  EXPECT_TRUE(haveFmt) << name << ": no fmt chunk";
  EXPECT_TRUE(haveData) << name << ": no data chunk";
  return w;
}

}  // namespace assets_test

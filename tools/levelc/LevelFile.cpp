#include "LevelFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace krel::levelc {

std::vector<unsigned char> EncodeLevel(const LevelGrid& grid) {
  std::vector<unsigned char> bytes;
  bytes.reserve(kLevelFileBytes);
  for (int x = 1; x <= kFieldSize; ++x) {
    for (int y = 1; y <= kFieldSize; ++y) {
      const auto v = static_cast<std::uint32_t>(grid.At(x, y));
      for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<unsigned char>(v >> shift));
    }
  }
  return bytes;
}

std::string WriteLevelFile(const std::string& path, const LevelGrid& grid) {
  const std::vector<unsigned char> bytes = EncodeLevel(grid);
  const std::string temp = path + ".tmp";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return "can't write " + temp + ": " + std::strerror(errno);
  const bool wrote = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int err = errno;
  if (std::fclose(f) != 0 || !wrote) {
    std::remove(temp.c_str());
    return "can't write " + temp + ": " + std::strerror(err);
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::remove(temp.c_str());
    return "can't replace " + path + ": " + ec.message();
  }
  return {};
}

}  // namespace krel::levelc

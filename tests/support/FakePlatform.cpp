#include "support/FakePlatform.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace krel::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "krel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
  std::filesystem::remove_all(path_, ec);
}

InDir::InDir(const std::string& dir) : old_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(dir);
}

InDir::~InDir() {
  std::filesystem::current_path(old_);
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

LevelGrid FilledGrid(std::int32_t kind) {
  return LevelGrid(40, std::vector<std::int32_t>(40, kind));
}

void WriteLevel(const std::string& path, const LevelGrid& grid) {
  std::vector<unsigned char> bytes;
  for (const auto& column : grid) {
    for (std::int32_t v : column) {
      const auto u = static_cast<std::uint32_t>(v);
      for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<unsigned char>(u >> (8 * b)));
    }
  }
  WriteBytes(path, bytes);
}

LevelGrid EarthLevel() {
  LevelGrid g = FilledGrid(Earth);
  for (int i = 0; i < 40; ++i) g[0][i] = g[39][i] = g[i][0] = g[i][39] = Water;
  return g;
}

}  // namespace krel::test

#pragma once

#include <cstdio>
#include <string>

namespace krel::levels_test {

// The played levels; the field after them is compiled but never played.
inline constexpr int kPlayedLevels = 10;
inline constexpr int kShippedLevels = 11;

inline std::string LevelSourcePath(int level) {
  char name[16];
  std::snprintf(name, sizeof name, "%02d.txt", level);
  return std::string(KREL_LEVEL_SOURCE_DIR) + "/" + name;
}

inline std::string CompiledLevelPath(int level) {
  return std::string(KREL_RUN_DIR) + "/" + std::to_string(level) + ".lev";
}

}  // namespace krel::levels_test

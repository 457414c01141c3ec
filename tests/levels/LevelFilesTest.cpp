// The shipped level files, read back by the game's own loader, hold exactly what
// their sources draw.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "LevelPaths.h"
#include "LevelSource.h"
#include "game/Tpole.h"

namespace krel::levels_test {
namespace {

class ShippedLevel : public ::testing::TestWithParam<int> {};

TEST_P(ShippedLevel, LoadsAsItsSourceDraws) {
  const int level = GetParam();
  std::ifstream in(LevelSourcePath(level), std::ios::binary);
  ASSERT_TRUE(in) << LevelSourcePath(level);
  std::stringstream text;
  text << in.rdbuf();
  const levelc::ParseResult parsed = levelc::ParseLevelSource(text.str());
  ASSERT_TRUE(parsed.Problems.empty()) << parsed.Problems.front().Message;

  ASSERT_EQ(std::filesystem::file_size(CompiledLevelPath(level)), 6400u);
  Tpole pole;
  LoadLevelCells(pole, CompiledLevelPath(level));
  for (int x = 1; x <= levelc::kFieldSize; ++x)
    for (int y = 1; y <= levelc::kFieldSize; ++y)
      ASSERT_EQ(pole.Cells[x][y], parsed.Level.Grid.At(x, y))
          << "level " << level << ", cell (" << x << ", " << y << ")";
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLevel, ::testing::Range(1, kShippedLevels + 1),
                         [](const auto& info) { return "Level" + std::to_string(info.param); });

}  // namespace
}  // namespace krel::levels_test

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/Tpole.h"

namespace krel::levelc {

inline constexpr int kFieldSize = 40;

// One field as the game sees it: Cells[x][y], both 1-based like the game's own field.
struct LevelGrid {
  std::array<std::array<std::int32_t, kFieldSize + 1>, kFieldSize + 1> Cells{};

  std::int32_t& At(int x, int y) { return Cells[x][y]; }
  std::int32_t At(int x, int y) const { return Cells[x][y]; }
};

// The characters a level source is drawn with. Any other value needs a `define`.
struct LegendEntry {
  char Symbol;
  std::int32_t Value;
  const char* Name;
};
inline constexpr std::array<LegendEntry, 6> kLegend{{
    {'*', Food, "food"},
    {'E', Exit, "exit"},
    {'~', Water, "water"},
    {'M', Mushroom, "mushroom"},
    {'s', Sand, "sand"},
    {'.', Earth, "earth"},
}};

enum class Rule {
  Syntax,
  FoodCount,
  FoodUnreachable,
  FoodInDeadEnd,
  RingGap,
  StartNotEarth,
  StartNoRoom,
  ExitCount,
  ExitUnreachable,
  SnakeTooLong,
};

// Short tag shown with each message, so a designer can find the rule in the README.
const char* RuleTag(Rule rule);

// One thing wrong with a level. Line is a source line (0: none); X and Y a cell
// (0: the level as a whole).
struct Problem {
  Rule Kind;
  int Line = 0;
  int X = 0;
  int Y = 0;
  std::string Message;
};

struct SourceLevel {
  LevelGrid Grid;
  // The source line each row was read from, so a cell's problem can point at it.
  std::array<int, kFieldSize + 1> RowLine{};
};

struct ParseResult {
  SourceLevel Level;
  std::vector<Problem> Problems;
};

// Reads a level source: a header of `#` comments, blank lines and `define` lines,
// then 40 rows of 40 characters.
ParseResult ParseLevelSource(std::string_view text);

// "file:line:column: level N, cell (X, Y): message [tag]", the way compilers point
// at a place, so editors can jump to it.
std::string FormatProblem(const Problem& problem, const std::string& file, int level);

}  // namespace krel::levelc

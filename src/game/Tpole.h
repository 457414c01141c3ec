#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace krel {

// Cell kinds. 0, 1 and 5 are safe for the head; every other value is deadly.
enum CellKind : std::int32_t { Food = 0, Exit = 1, Water = 2, Mushroom = 3, Sand = 4, Earth = 5 };

inline bool IsSafeCell(std::int32_t kind) {
  return kind == Food || kind == Exit || kind == Earth;
}

// The playfield: a 100 x 100 store indexed from 1, of which Width x Height is used.
class Tpole {
 public:
  static constexpr std::int32_t StoreSize = 100;

  Tpole();

  std::int32_t& Cell(std::int32_t x, std::int32_t y) { return Cells[x][y]; }
  std::int32_t Cell(std::int32_t x, std::int32_t y) const { return Cells[x][y]; }

  // What the snake's head finds at (x, y). A coordinate outside the store only comes
  // from a level with a broken deadly ring; it reads as deadly rather than as
  // whatever memory lies beyond the store.
  std::int32_t CellUnderHead(std::int32_t x, std::int32_t y) const;

  std::int32_t Width;
  std::int32_t Height;
  std::int32_t Points;
  std::int32_t OffsetX;
  std::int32_t OffsetY;
  // Index 0 of each dimension is unused so that cells keep their 1-based coordinates.
  std::array<std::array<std::int32_t, StoreSize + 1>, StoreSize + 1> Cells{};
};

// Fills the cells of `pole` from the level file at `path`, column by column.
// Throws EInOutError; cells read before a failure stay, the rest stay 0.
void LoadLevelCells(Tpole& pole, const std::string& path);

// Reads the current level's file, "<Level>.lev" in the working directory, into the
// current field.
void ReadLevelFile();

}  // namespace krel

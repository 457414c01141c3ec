#include "LevelCheck.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace krel::levelc {

namespace {

constexpr int kFoodNeeded = 10;

bool InField(int x, int y) {
  return x >= 1 && x <= kFieldSize && y >= 1 && y <= kFieldSize;
}

bool OnBorder(int x, int y) {
  return x == 1 || x == kFieldSize || y == 1 || y == kFieldSize;
}

std::string CellText(int x, int y) {
  // snprintf rather than concatenation: GCC 12 warns falsely (-Wrestrict) about a
  // one-character literal plus std::to_string at -O2.
  char text[32];
  std::snprintf(text, sizeof text, "(%d, %d)", x, y);
  return text;
}

const char* KindName(std::int32_t value) {
  for (const LegendEntry& e : kLegend)
    if (e.Value == value) return e.Name;
  return "a defined value";
}

using CellSet = std::array<std::array<bool, kFieldSize + 1>, kFieldSize + 1>;

// Cells the head can reach from `from` through safe cells, ignoring the body: the
// body only ever moves out of the way.
CellSet FloodFrom(const LevelGrid& grid, FieldCell from) {
  CellSet reached{};
  if (!InField(from.X, from.Y)) return reached;
  std::vector<FieldCell> todo{from};
  reached[from.X][from.Y] = true;
  while (!todo.empty()) {
    const FieldCell c = todo.back();
    todo.pop_back();
    const FieldCell next[] = {{c.X, c.Y - 1}, {c.X, c.Y + 1}, {c.X - 1, c.Y}, {c.X + 1, c.Y}};
    for (const FieldCell n : next) {
      if (!InField(n.X, n.Y) || reached[n.X][n.Y] || !IsSafeCell(grid.At(n.X, n.Y))) continue;
      reached[n.X][n.Y] = true;
      todo.push_back(n);
    }
  }
  return reached;
}

// Cells of one-wide dead ends: a snake can't turn round, so once in, it dies at the
// end. Found by peeling cells with at most one safe neighbour until none is left;
// the exit is never peeled, as the level ends there.
CellSet DeadEnds(const LevelGrid& grid) {
  CellSet peeled{};
  std::array<std::array<int, kFieldSize + 1>, kFieldSize + 1> degree{};
  auto open = [&](int x, int y) {
    return InField(x, y) && IsSafeCell(grid.At(x, y)) && !peeled[x][y];
  };
  std::vector<FieldCell> todo;
  for (int x = 1; x <= kFieldSize; ++x) {
    for (int y = 1; y <= kFieldSize; ++y) {
      if (!open(x, y)) continue;
      degree[x][y] = open(x, y - 1) + open(x, y + 1) + open(x - 1, y) + open(x + 1, y);
      if (degree[x][y] <= 1 && grid.At(x, y) != Exit) todo.push_back({x, y});
    }
  }
  while (!todo.empty()) {
    const FieldCell c = todo.back();
    todo.pop_back();
    if (peeled[c.X][c.Y]) continue;
    peeled[c.X][c.Y] = true;
    const FieldCell next[] = {{c.X, c.Y - 1}, {c.X, c.Y + 1}, {c.X - 1, c.Y}, {c.X + 1, c.Y}};
    for (const FieldCell n : next) {
      if (!open(n.X, n.Y)) continue;
      if (--degree[n.X][n.Y] <= 1 && grid.At(n.X, n.Y) != Exit) todo.push_back(n);
    }
  }
  return peeled;
}

class Checker {
 public:
  Checker(const SourceLevel& level, const StartRow& start) : level_(level), start_(start) {}

  std::vector<Problem> Run() {
    CheckLength();
    const std::vector<FieldCell> layout = StartLayout(start_);
    CheckStart(layout);
    const FieldCell head = layout.front();
    const CellSet reach = FloodFrom(grid(), head);
    CheckRing(reach);
    CheckFood(reach);
    CheckExit(reach);
    return std::move(problems_);
  }

 private:
  const LevelGrid& grid() const { return level_.Grid; }

  void Add(Rule rule, int x, int y, std::string message) {
    const int line = InField(x, y) ? level_.RowLine[y] : 0;
    problems_.push_back({rule, line, x, y, std::move(message)});
  }

  void CheckLength() {
    const int longest = start_.Length + kFoodNeeded;
    if (longest > Tkrel::MaxSegments) {
      Add(Rule::SnakeTooLong, 0, 0,
          "the snake starts " + std::to_string(start_.Length) + " long and grows to " +
              std::to_string(longest) + " with the food, more than its " +
              std::to_string(Tkrel::MaxSegments) + " segments");
    }
  }

  void CheckStart(const std::vector<FieldCell>& layout) {
    for (std::size_t k = 0; k < layout.size(); ++k) {
      const FieldCell c = layout[k];
      const std::string what = k == 0 ? "the snake's head" : "segment " + std::to_string(k + 1);
      if (!InField(c.X, c.Y)) {
        Add(Rule::StartNotEarth, 0, 0, what + " starts off the field at " + CellText(c.X, c.Y));
      } else if (grid().At(c.X, c.Y) != Earth) {
        Add(Rule::StartNotEarth, c.X, c.Y,
            what + " starts here on " + KindName(grid().At(c.X, c.Y)) +
                "; the start layout must lie on earth");
      }
    }
    const FieldCell head = layout.front();
    for (int d = 1; d <= kStartRoom; ++d) {
      const int y = head.Y - d;
      if (!InField(head.X, y) || !IsSafeCell(grid().At(head.X, y))) {
        Add(Rule::StartNoRoom, head.X, y,
            "the snake sets off upwards from " + CellText(head.X, head.Y) + "; the " +
                std::to_string(kStartRoom) + " cells above its head must be safe");
        break;
      }
    }
  }

  void CheckRing(const CellSet& reach) {
    std::vector<FieldCell> leaks;
    for (int y = 1; y <= kFieldSize; ++y)
      for (int x = 1; x <= kFieldSize; ++x)
        if (reach[x][y] && OnBorder(x, y)) leaks.push_back({x, y});
    if (leaks.empty()) return;
    std::string message =
        "the deadly ring is open: the snake can reach this border cell and leave the field";
    if (leaks.size() > 1) message += " (and " + std::to_string(leaks.size() - 1) + " more)";
    Add(Rule::RingGap, leaks.front().X, leaks.front().Y, message);
  }

  void CheckFood(const CellSet& reach) {
    const CellSet deadEnds = DeadEnds(grid());
    int count = 0;
    for (int y = 1; y <= kFieldSize; ++y) {
      for (int x = 1; x <= kFieldSize; ++x) {
        if (grid().At(x, y) != Food) continue;
        ++count;
        if (!reach[x][y]) {
          Add(Rule::FoodUnreachable, x, y, "this food can't be reached from the start");
        } else if (deadEnds[x][y]) {
          Add(Rule::FoodInDeadEnd, x, y,
              "this food lies in a dead end one cell wide; the snake can't turn back out");
        }
      }
    }
    if (count != kFoodNeeded) {
      Add(Rule::FoodCount, 0, 0,
          "the level has " + std::to_string(count) + " food cells; it needs exactly " +
              std::to_string(kFoodNeeded) + ", as the exit opens after the tenth");
    }
  }

  void CheckExit(const CellSet& reach) {
    std::vector<FieldCell> exits;
    for (int y = 1; y <= kFieldSize; ++y)
      for (int x = 1; x <= kFieldSize; ++x)
        if (grid().At(x, y) == Exit) exits.push_back({x, y});
    if (exits.empty()) {
      Add(Rule::ExitCount, 0, 0, "the level has no exit; it needs exactly one");
      return;
    }
    if (exits.size() > 1) {
      for (std::size_t i = 1; i < exits.size(); ++i) {
        Add(Rule::ExitCount, exits[i].X, exits[i].Y,
            "a second exit; the level needs exactly one (the first is at " +
                CellText(exits[0].X, exits[0].Y) + ")");
      }
    }
    for (const FieldCell e : exits) {
      if (!reach[e.X][e.Y])
        Add(Rule::ExitUnreachable, e.X, e.Y, "the exit can't be reached from the start");
    }
  }

  const SourceLevel& level_;
  const StartRow start_;
  std::vector<Problem> problems_;
};

}  // namespace

std::vector<FieldCell> StartLayout(const StartRow& start) {
  // The game lays ten columns of ten, down the first and up the next, and keeps only
  // the first Length; the flip starts from zero for every level.
  std::vector<FieldCell> cells;
  bool flip = false;
  for (int i = 1; i <= 10; ++i) {
    for (int j = 1; j <= 10; ++j) {
      cells.push_back({start.StartX + i, flip ? start.StartY - j : start.StartY - 11 + j});
    }
    flip = !flip;
  }
  const auto live = std::clamp(start.Length, 1, static_cast<std::int32_t>(cells.size()));
  cells.resize(static_cast<std::size_t>(live));
  return cells;
}

std::optional<StartRow> StartRowFor(int level) {
  if (level < 1 || level > static_cast<int>(kStartTable.size())) return std::nullopt;
  return kStartTable[static_cast<std::size_t>(level - 1)];
}

std::vector<Problem> CheckLevel(const SourceLevel& level, const std::optional<StartRow>& start) {
  if (!start) return {};
  return Checker(level, *start).Run();
}

}  // namespace krel::levelc

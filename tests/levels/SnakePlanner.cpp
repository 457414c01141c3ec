#include "SnakePlanner.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <queue>
#include <tuple>
#include <unordered_set>

#include "game/Tpole.h"

namespace krel::levels_test {

Spot Moved(Spot s, Move m) {
  switch (m) {
    case Move::Up:
      --s.Y;
      break;
    case Move::Down:
      ++s.Y;
      break;
    case Move::Left:
      --s.X;
      break;
    case Move::Right:
      ++s.X;
      break;
  }
  return s;
}

const char* MoveName(Move m) {
  switch (m) {
    case Move::Up:
      return "up";
    case Move::Down:
      return "down";
    case Move::Left:
      return "left";
    case Move::Right:
      return "right";
  }
  return "?";
}

namespace {

constexpr std::array<Move, 4> kMoves{Move::Up, Move::Down, Move::Left, Move::Right};

bool Reverses(Move a, Move b) {
  return (a == Move::Up && b == Move::Down) || (a == Move::Down && b == Move::Up) ||
         (a == Move::Left && b == Move::Right) || (a == Move::Right && b == Move::Left);
}

using Cells = std::array<std::array<std::int32_t, kSide + 1>, kSide + 1>;

bool Walkable(const Cells& cells, Spot s) {
  return s.X >= 1 && s.X <= kSide && s.Y >= 1 && s.Y <= kSide && IsSafeCell(cells[s.X][s.Y]);
}

// One step as the game takes it: the body follows the head, the tail stays once
// after food, and the head dies on a deadly cell or on its own body.
bool Advance(const Cells& cells, std::vector<Spot>& body, bool& growing, Move m) {
  const Spot head = Moved(body.front(), m);
  if (!Walkable(cells, head)) return false;
  if (!growing) body.pop_back();
  growing = false;
  for (const Spot s : body)
    if (s == head) return false;
  body.insert(body.begin(), head);
  return true;
}

// The search keeps the first body that brings the head to a cell, heading one way,
// after a given number of steps. Not exact, but it bounds the search by the field
// rather than by the number of ways to wind a body, and still lets the snake go
// round a loop while it waits for its body to clear a way.
std::uint32_t Key(Spot head, Move heading, int steps) {
  return (static_cast<std::uint32_t>(steps) << 16) | (static_cast<std::uint32_t>(head.X) << 8) |
         (static_cast<std::uint32_t>(head.Y) << 2) | static_cast<std::uint32_t>(heading);
}

bool IsTarget(const Situation& s, Spot head) {
  const std::int32_t c = s.Cells[head.X][head.Y];
  return s.Points > 0 ? c == Food : c == Exit;
}

int Distance(Spot a, Spot b) {
  return std::abs(a.X - b.X) + std::abs(a.Y - b.Y);
}

std::vector<Spot> Targets(const Situation& s) {
  std::vector<Spot> out;
  for (int x = 1; x <= kSide; ++x)
    for (int y = 1; y <= kSide; ++y)
      if (IsTarget(s, {static_cast<std::int8_t>(x), static_cast<std::int8_t>(y)}))
        out.push_back({static_cast<std::int8_t>(x), static_cast<std::int8_t>(y)});
  return out;
}

// How far the head can get when each body cell counts as free from the step it is
// vacated: the step it reaches each cell at (-1: never), how many cells it reaches,
// and whether its tail's cell is one of them.
struct Reach {
  std::array<std::array<int, kSide + 1>, kSide + 1> Dist{};  // -1: out of reach
  int Cells = 0;
  bool Tail = false;
};

Reach ReachFrom(const Situation& s) {
  const auto length = static_cast<int>(s.Body.size());
  std::array<std::array<int, kSide + 1>, kSide + 1> freeAt{};
  for (int j = 0; j < length; ++j) {
    const Spot c = s.Body[static_cast<std::size_t>(j)];
    freeAt[c.X][c.Y] = std::max(freeAt[c.X][c.Y], length - j + (s.Growing ? 1 : 0));
  }
  Reach r;
  for (auto& col : r.Dist) col.fill(-1);
  const Spot head = s.Body.front();
  const Spot tail = s.Body.back();
  std::deque<Spot> todo{head};
  r.Dist[head.X][head.Y] = 0;
  while (!todo.empty()) {
    const Spot c = todo.front();
    todo.pop_front();
    for (const Move m : kMoves) {
      const Spot n = Moved(c, m);
      if (!Walkable(s.Cells, n) || r.Dist[n.X][n.Y] >= 0) continue;
      const int t = r.Dist[c.X][c.Y] + 1;
      if (freeAt[n.X][n.Y] > t) continue;
      if (n == tail) r.Tail = true;
      r.Dist[n.X][n.Y] = t;
      ++r.Cells;
      todo.push_back(n);
    }
  }
  return r;
}

}  // namespace

bool TailInReach(const Situation& s) {
  return ReachFrom(s).Tail;
}

std::optional<std::vector<Move>> SnakePlanner::Search(const Situation& now) const {
  const std::vector<Spot> targets = Targets(now);
  if (targets.empty()) return std::nullopt;
  auto estimate = [&](Spot head) {
    int best = 1 << 20;
    for (const Spot t : targets) best = std::min(best, Distance(head, t));
    return best;
  };

  struct Node {
    std::vector<Spot> Body;
    bool Growing;
    Move Heading;
    int Steps;
    int Parent;
  };
  std::vector<Node> nodes;
  nodes.push_back({now.Body, now.Growing, now.Heading, 0, -1});
  // Lowest estimate first; among equals the deeper node, which heads on rather than
  // widening the search.
  using Entry = std::tuple<int, int, int>;  // estimate, -steps, node
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
  open.emplace(estimate(now.Body.front()), 0, 0);
  std::unordered_set<std::uint32_t> seen{Key(now.Body.front(), now.Heading, 0)};

  auto pathTo = [&](int node) {
    std::vector<Move> moves;
    for (int n = node; nodes[static_cast<std::size_t>(n)].Parent >= 0;
         n = nodes[static_cast<std::size_t>(n)].Parent)
      moves.push_back(nodes[static_cast<std::size_t>(n)].Heading);
    std::reverse(moves.begin(), moves.end());
    return moves;
  };

  std::size_t expanded = 0;
  while (!open.empty() && expanded < budget_) {
    const int index = std::get<2>(open.top());
    open.pop();
    ++expanded;
    for (const Move m : kMoves) {
      const Node& from = nodes[static_cast<std::size_t>(index)];
      if (Reverses(from.Heading, m)) continue;
      Node next{from.Body, from.Growing, m, from.Steps + 1, index};
      if (!Advance(now.Cells, next.Body, next.Growing, m)) continue;
      const Spot head = next.Body.front();
      if (IsTarget(now, head)) {
        if (now.Points == 0) {
          nodes.push_back(std::move(next));
          return pathTo(static_cast<int>(nodes.size()) - 1);
        }
        // Eat it only if the head can still follow its tail afterwards.
        Situation after;
        after.Cells = now.Cells;
        after.Cells[head.X][head.Y] = Earth;
        after.Body = next.Body;
        after.Growing = true;
        after.Heading = m;
        after.Points = now.Points - 1;
        if (!TailInReach(after)) continue;
        nodes.push_back(std::move(next));
        return pathTo(static_cast<int>(nodes.size()) - 1);
      }
      if (!seen.insert(Key(head, m, next.Steps)).second) continue;
      const int f = next.Steps + estimate(head);
      const int steps = next.Steps;
      nodes.push_back(std::move(next));
      open.emplace(f, -steps, static_cast<int>(nodes.size()) - 1);
    }
  }
  return std::nullopt;
}

std::optional<Move> SnakePlanner::Wander(const Situation& now) const {
  // Keep the tail in reach and take the long way round to it: the body uncoils and
  // frees room for the next try.
  std::optional<Move> best;
  std::tuple<bool, int, int> bestScore{false, -1, -1};
  for (const Move m : kMoves) {
    if (Reverses(now.Heading, m)) continue;
    Situation next = now;
    if (!Advance(next.Cells, next.Body, next.Growing, m)) continue;
    next.Heading = m;
    const Reach r = ReachFrom(next);
    const Spot tail = next.Body.back();
    const std::tuple<bool, int, int> score{r.Tail, r.Tail ? r.Dist[tail.X][tail.Y] : r.Cells,
                                           r.Cells};
    if (!best || score > bestScore) {
      best = m;
      bestScore = score;
    }
  }
  return best;
}

std::vector<Move> SnakePlanner::Plan(const Situation& now) {
  if (wait_ > 0) {
    --wait_;
  } else if (auto path = Search(now)) {
    failures_ = 0;
    return *path;
  } else {
    failures_ = std::min(failures_ + 1, 4);
    wait_ = (1 << failures_) - 1;
  }
  if (auto m = Wander(now)) return {*m};
  return {};
}

}  // namespace krel::levels_test

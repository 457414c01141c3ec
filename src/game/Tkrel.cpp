#include "game/Tkrel.h"

#include "game/GameState.h"
#include "game/Platform.h"

namespace krel {

Tkrel::Tkrel() {
  if (G.Level >= 1 && G.Level <= static_cast<std::int32_t>(kStartTable.size())) {
    const StartRow& row = kStartTable[G.Level - 1];
    Length = row.Length;
    G.StartX = row.StartX;
    G.StartY = row.StartY;
  } else {
    // Past the last level there is nothing to play: back to the menu.
    G.MenuStart = 1;
    G.MenuMode = 1;
  }

  // Ten columns of ten, snaking down and up, head at the top of the leftmost column.
  // Every layout flips LayoutFlip ten times, so each begins where the last began.
  Direction = "up";
  std::int32_t k = 0;
  for (std::int32_t i = 1; i <= 10; ++i) {
    for (std::int32_t j = 1; j <= 10; ++j) {
      ++k;
      Segments[k].Y = G.LayoutFlip == 1 ? G.StartY - j : G.StartY - 11 + j;
      Segments[k].X = G.StartX + i;
      if (j == 10) G.LayoutFlip = G.LayoutFlip == 0 ? 1 : 0;
    }
  }
}

void Tkrel::Die() {
  G.TickCount = 0;
  G.Phase = 1;
}

void Tkrel::CompleteLevel() {
  G.TickCount = 0;
  G.Phase = 2;
}

namespace {

void Turn(std::uint8_t states, std::uint8_t key, const char* forbidden, const char* to) {
  Tkrel& snake = *G.Snake;
  if ((states & key) && snake.Direction != forbidden && G.CanTurn == 1) {
    G.CanTurn = 0;
    snake.Direction = to;
  }
}

void Step(Tkrel& snake) {
  if (snake.Length < 2) return;
  for (std::int32_t j = snake.Length; j >= 2; --j) snake.Segments[j] = snake.Segments[j - 1];
  Tkrel::Segment& head = snake.Segments[1];
  if (snake.Direction == "up")
    --head.Y;
  else if (snake.Direction == "down")
    ++head.Y;
  else if (snake.Direction == "left")
    --head.X;
  else if (snake.Direction == "right")
    ++head.X;
}

}  // namespace

void PlayUpdate(Platform& host) {
  Tkrel& snake = *G.Snake;
  Tpole& pole = *G.Pole;

  host.PollInputStates();
  const std::uint8_t states = host.InputStates();
  // Fixed order: left, right, up, down. Each accepted test clears CanTurn, so the
  // first held key in this order wins, including the key of the current direction.
  Turn(states, isLeft, "right", "left");
  Turn(states, isRight, "left", "right");
  Turn(states, isUp, "down", "up");
  Turn(states, isDown, "up", "down");

  ++G.TickCount;
  snake.StepTicks = host.FrameRate() / 3;
  if (snake.StepTicks == 0) return;

  if (G.TickCount >= snake.StepTicks) {
    host.PlaySound("worm");
    G.TickCount = 0;
    G.CanTurn = 1;
    Step(snake);
  }

  // The checks run on every tick that got this far, stepped or not; each reads the
  // cell under the head afresh.
  const Tkrel::Segment head = snake.Segments[1];
  if (pole.CellUnderHead(head.X, head.Y) == Food) {
    pole.Cell(head.X, head.Y) = Earth;
    host.PlaySound("eat");
    // The store holds 110 segments: food beyond that still counts but adds no segment.
    if (snake.Length < Tkrel::MaxSegments) {
      ++snake.Length;
      // Parked off the field until the next step copies the old tail into it, so the
      // snake grows at its tail.
      snake.Segments[snake.Length] = {100, 100};
    }
    --pole.Points;
  }
  const std::int32_t cell = pole.CellUnderHead(head.X, head.Y);
  if (cell == Exit && pole.Points == 0) snake.CompleteLevel();
  if (!IsSafeCell(cell)) {
    host.PlaySound("boom");
    snake.Die();
  }
  // Ordered pairs on purpose: two segments on one cell sound "boom" twice.
  for (std::int32_t i = 1; i <= snake.Length; ++i) {
    for (std::int32_t j = 1; j <= snake.Length; ++j) {
      if (j != i && snake.Segments[i] == snake.Segments[j]) {
        host.PlaySound("boom");
        snake.Die();
      }
    }
  }
}

}  // namespace krel

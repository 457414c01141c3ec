#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameState.h"
#include "game/Platform.h"

namespace krel::test {

// A machine for the game logic alone: keys and frame rate set by the test, sounds
// and the other calls recorded.
class FakePlatform final : public Platform {
 public:
  void PollInputStates() override {
    ++Polls;
    polled_ = Held;
  }
  std::uint8_t InputStates() const override { return polled_; }
  void PlaySound(const std::string& name) override { Sounds.push_back(name); }
  std::int32_t FrameRate() const override { return Rate; }
  void SetTimerEnabled(bool enabled) override { TimerEnabled = enabled; }
  void HideCursor() override { ++CursorHides; }
  void DrawPauseScreen() override { ++PauseScreens; }
  void EndProgram() override { Ended = true; }

  std::uint8_t Held = 0;
  std::int32_t Rate = 60;
  std::vector<std::string> Sounds;
  int Polls = 0;
  bool TimerEnabled = false;
  int CursorHides = 0;
  int PauseScreens = 0;
  bool Ended = false;

 private:
  std::uint8_t polled_ = 0;
};

// A working directory of the test's own, removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Makes the directory the process's working directory for the test's lifetime.
class InDir {
 public:
  explicit InDir(const std::string& dir);
  ~InDir();
  InDir(const InDir&) = delete;
  InDir& operator=(const InDir&) = delete;

 private:
  std::string old_;
};

// Writes raw bytes to a file.
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// A 40 x 40 level, column by column, little-endian; `cells[x-1][y-1]`.
using LevelGrid = std::vector<std::vector<std::int32_t>>;
LevelGrid FilledGrid(std::int32_t kind);
void WriteLevel(const std::string& path, const LevelGrid& grid);

// A field where level N's snake can live: earth everywhere, water around the edge.
LevelGrid EarthLevel();

}  // namespace krel::test

#pragma once

#include <SDL_mixer.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "shell/SdlHandles.h"

namespace krel {

// Names are found with letter case ignored, through an index of folded names so
// that the 1700 lookups of a play frame do not scan the list.
class NameIndex {
 public:
  // Returns false when the folded name is taken already.
  bool Add(std::string_view name, std::size_t item);
  // The item's number, or -1.
  std::ptrdiff_t Find(std::string_view name) const;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> items_;
};

// The twelve pictures, drawn by name.
class TDXImageList {
 public:
  static const std::vector<std::string>& Names();

  // Loads "<name>.bmp" for every name from `dir`. Throws GameError when one is missing.
  void LoadFrom(const std::string& dir);
  void Add(const std::string& name, SDL_Surface* picture);

  // Throws GameError "Image '<name>' not found".
  SDL_Surface* Find(std::string_view name) const;

  // The whole picture, opaque, its top-left pixel at (x, y), clipped to `target`,
  // which must be a 32-bit ARGB surface like the back surface.
  void DrawPicture(SDL_Surface* target, std::string_view name, int x, int y) const;

 private:
  std::vector<std::pair<std::string, SurfacePtr>> items_;
  NameIndex index_;
};

// The sound device. A device that cannot be opened leaves the game silent.
class TDXSound {
 public:
  TDXSound() = default;
  ~TDXSound();
  TDXSound(const TDXSound&) = delete;
  TDXSound& operator=(const TDXSound&) = delete;

  // Opens the device; reports nothing when it cannot.
  void Initialize();
  bool Initialized() const { return open_; }
  // A fresh mixer channel for one more play copy.
  int NewChannel();

 private:
  bool open_ = false;
  bool audioSubsystem_ = false;
  int channels_ = 0;
};

// The four sounds, played by name. Each entry keeps its own play copies (mixer
// channels): a sound played while it still sounds starts another copy beside it.
class TDXWaveList {
 public:
  static const std::vector<std::string>& Names();

  // Records "<name>.wav" in `dir` for every name; the samples are loaded once the
  // device is open. Throws GameError when a file is missing.
  void LoadFrom(const std::string& dir);
  // Attaches the device and loads the samples when it is open.
  void Attach(TDXSound& device);

  // Throws GameError "Wave '<name>' not found"; plays nothing without a device.
  void PlaySound(std::string_view name);

  // How many copies an entry has made so far (tests).
  std::size_t CopyCount(std::string_view name) const;

  // Told of every sound played, device or not (tests listen here).
  std::function<void(const std::string& name)> OnPlay;

 private:
  struct ChunkDeleter {
    void operator()(Mix_Chunk* c) const { Mix_FreeChunk(c); }
  };
  struct Entry {
    std::string name;
    std::string path;
    std::unique_ptr<Mix_Chunk, ChunkDeleter> chunk;
    std::vector<int> copies;
  };
  std::size_t Lookup(std::string_view name) const;

  std::vector<Entry> items_;
  NameIndex index_;
  TDXSound* device_ = nullptr;
};

}  // namespace krel

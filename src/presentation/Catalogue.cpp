#include "presentation/Catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "game/Errors.h"

namespace krel {

namespace {

std::string Folded(std::string_view name) {
  std::string s(name);
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

bool NameIndex::Add(std::string_view name, std::size_t item) {
  return items_.emplace(Folded(name), item).second;
}

std::ptrdiff_t NameIndex::Find(std::string_view name) const {
  // Folded on the stack: a play frame looks up some 1700 names.
  char buffer[32] = {};
  if (name.size() > sizeof buffer) return -1;  // longer than any name we hold
  for (std::size_t i = 0; i < name.size(); ++i)
    buffer[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
  const auto it = items_.find(std::string_view(buffer, name.size()));
  return it == items_.end() ? -1 : static_cast<std::ptrdiff_t>(it->second);
}

const std::vector<std::string>& TDXImageList::Names() {
  static const std::vector<std::string> names = {"krel",       "exit",  "more",       "muxomor",
                                                 "pesok",      "zemla", "krelgolova", "krelxvost",
                                                 "background", "menu",  "Mstart",     "Mexit"};
  return names;
}

void TDXImageList::LoadFrom(const std::string& dir) {
  for (const std::string& name : Names()) {
    const std::string path = dir + "/" + name + ".bmp";
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (!loaded) throw GameError("Cannot load picture " + path + ": " + SDL_GetError());
    Add(name, loaded);
  }
}

void TDXImageList::Add(const std::string& name, SDL_Surface* picture) {
  SurfacePtr owned(picture);
  // Converted once to the back surface's format so that drawing is a plain copy.
  SurfacePtr converted(SDL_ConvertSurfaceFormat(owned.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!converted) throw GameError(std::string("Cannot convert picture: ") + SDL_GetError());
  SDL_SetSurfaceBlendMode(converted.get(), SDL_BLENDMODE_NONE);
  SDL_SetColorKey(converted.get(), SDL_FALSE, 0);
  if (!index_.Add(name, items_.size())) throw GameError("Duplicate picture name " + name);
  items_.emplace_back(name, std::move(converted));
}

SDL_Surface* TDXImageList::Find(std::string_view name) const {
  const std::ptrdiff_t i = index_.Find(name);
  if (i < 0) throw GameError("Image '" + std::string(name) + "' not found");
  return items_[static_cast<std::size_t>(i)].second.get();
}

void TDXImageList::DrawPicture(SDL_Surface* target, std::string_view name, int x, int y) const {
  const SDL_Surface* picture = Find(name);
  if (x > target->w || y > target->h) return;
  // Both are 32-bit ARGB and drawn opaque, so a clipped row copy is the whole job.
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right = std::min(x + picture->w, target->w);
  const int bottom = std::min(y + picture->h, target->h);
  if (left >= right || top >= bottom) return;
  const std::size_t rowBytes = static_cast<std::size_t>(right - left) * 4;
  for (int row = top; row < bottom; ++row) {
    const auto* from = static_cast<const std::uint8_t*>(picture->pixels) +
                       (row - y) * picture->pitch + (left - x) * 4;
    auto* to = static_cast<std::uint8_t*>(target->pixels) + row * target->pitch + left * 4;
    std::memcpy(to, from, rowBytes);
  }
}

TDXSound::~TDXSound() {
  if (open_) Mix_CloseAudio();
  if (audioSubsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TDXSound::Initialize() {
  if (open_) return;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  audioSubsystem_ = true;
  // 512 frames at 44.1 kHz: a sound starts within about 12 ms of being played.
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 512) != 0) return;
  open_ = true;
  // Every channel belongs to one play copy; copies are made as they are needed.
  Mix_AllocateChannels(0);
  channels_ = 0;
}

int TDXSound::NewChannel() {
  Mix_AllocateChannels(channels_ + 1);
  return channels_++;
}

const std::vector<std::string>& TDXWaveList::Names() {
  static const std::vector<std::string> names = {"worm", "boom", "eat", "Menu"};
  return names;
}

void TDXWaveList::LoadFrom(const std::string& dir) {
  for (const std::string& name : Names()) {
    std::string path = dir + "/" + name + ".wav";
    if (!std::filesystem::is_regular_file(path)) throw GameError("Cannot find sound " + path);
    if (!index_.Add(name, items_.size())) throw GameError("Duplicate sound name " + name);
    items_.push_back(Entry{name, std::move(path), nullptr, {}});
  }
}

void TDXWaveList::Attach(TDXSound& device) {
  device_ = &device;
  if (!device.Initialized()) return;
  for (Entry& e : items_) {
    e.chunk.reset(Mix_LoadWAV(e.path.c_str()));
    if (!e.chunk) throw GameError("Cannot load sound " + e.path + ": " + Mix_GetError());
  }
}

std::size_t TDXWaveList::Lookup(std::string_view name) const {
  const std::ptrdiff_t i = index_.Find(name);
  if (i < 0) throw GameError("Wave '" + std::string(name) + "' not found");
  return static_cast<std::size_t>(i);
}

void TDXWaveList::PlaySound(std::string_view name) {
  Entry& e = items_[Lookup(name)];
  if (OnPlay) OnPlay(e.name);
  if (!device_ || !device_->Initialized() || !e.chunk) return;
  int channel = -1;
  for (int c : e.copies) {
    if (!Mix_Playing(c)) {
      channel = c;
      break;
    }
  }
  if (channel < 0) {
    channel = device_->NewChannel();
    e.copies.push_back(channel);
  }
  Mix_HaltChannel(channel);
  Mix_PlayChannel(channel, e.chunk.get(), 0);
}

std::size_t TDXWaveList::CopyCount(std::string_view name) const {
  return items_[Lookup(name)].copies.size();
}

}  // namespace krel

#include "presentation/Catalogue.h"

#include <algorithm>
#include <cctype>
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
  const auto it = items_.find(Folded(name));
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
  SDL_Surface* picture = Find(name);
  if (x > target->w || y > target->h) return;
  SDL_Rect to{x, y, picture->w, picture->h};
  // SDL_BlitSurface cuts the rectangle to the target, negative positions included.
  SDL_BlitSurface(picture, nullptr, target, &to);
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

#include "shell/MessageLoop.h"

#include <SDL.h>

#include "shell/TDXInput.h"

namespace krel {

namespace {

// Returns false when the program should end.
bool Dispatch(LoopClient& client, const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      return false;
    case SDL_KEYDOWN:
      client.KeyDown(VirtualKeyForScancode(e.key.keysym.scancode));
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED:
          client.SetApplicationActive(true);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
          client.SetApplicationActive(false);
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return true;
}

}  // namespace

void RunMessageLoop(LoopClient& client) {
  SDL_Event e;
  while (!client.Ended()) {
    const bool got = client.TimerHooked() ? SDL_PollEvent(&e) != 0 : SDL_WaitEvent(&e) != 0;
    if (got) {
      if (!Dispatch(client, e)) return;
      continue;
    }
    client.IdlePass();
  }
}

}  // namespace krel

#pragma once

#include <stdexcept>
#include <string>

namespace krel {

// Errors carry the run-time's own text; only the idle pass catches them and shows
// them in the error box, so a failing tick simply stops where it failed.
class GameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failed step of reading a level file; `Code` is the run-time's I/O error number
// (2 not found, 3 invalid name, 4 too many files, 5 access denied, 100 short read).
class EInOutError : public GameError {
 public:
  EInOutError(int code, const std::string& text) : GameError(text), Code(code) {}
  int Code;
};

}  // namespace krel

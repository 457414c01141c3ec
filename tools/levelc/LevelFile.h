#pragma once

#include <string>
#include <vector>

#include "LevelSource.h"

namespace krel::levelc {

inline constexpr std::size_t kLevelFileBytes = kFieldSize * kFieldSize * 4;

// The bytes of a level file: one little-endian 32-bit record per cell, column by
// column, no header.
std::vector<unsigned char> EncodeLevel(const LevelGrid& grid);

// Writes the file whole or not at all, so a running game never reads half a level.
// Returns an error text, empty on success.
std::string WriteLevelFile(const std::string& path, const LevelGrid& grid);

}  // namespace krel::levelc

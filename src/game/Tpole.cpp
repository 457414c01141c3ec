#include "game/Tpole.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "game/Errors.h"
#include "game/GameState.h"

namespace krel {

Tpole::Tpole() : Width(40), Height(40), Points(10), OffsetX(160), OffsetY(65) {
  for (std::int32_t x = 1; x <= Width; ++x)
    for (std::int32_t y = 1; y <= Height; ++y) Cells[x][y] = Food;
}

std::int32_t Tpole::CellUnderHead(std::int32_t x, std::int32_t y) const {
  if (x < 1 || x > StoreSize || y < 1 || y > StoreSize) return -1;
  return Cells[x][y];
}

namespace {

constexpr int kShortRead = 100;

EInOutError ErrorFromErrno(int err, const std::string& path) {
  switch (err) {
    case ENOENT: {
      // Linux says "no such file" for a missing directory too; tell the two apart.
      const auto dir = std::filesystem::path(path).parent_path();
      std::error_code ec;
      if (!dir.empty() && !std::filesystem::is_directory(dir, ec))
        return EInOutError(3, "Invalid filename");
      return EInOutError(2, "File not found");
    }
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return EInOutError(3, "Invalid filename");
    case EMFILE:
    case ENFILE:
      return EInOutError(4, "Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return EInOutError(5, "File access denied");
    default:
      return EInOutError(err, "I/O error " + std::to_string(err));
  }
}

class FileHandle {
 public:
  explicit FileHandle(int fd) : fd_(fd) {}
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int get() const { return fd_; }
  // Closes now so that a failing close is reported like any other step.
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

// Reads up to 4 bytes; returns how many arrived, or -1 with errno set.
ssize_t ReadRecord(int fd, unsigned char (&bytes)[4]) {
  ssize_t got = 0;
  while (got < 4) {
    const ssize_t n = ::read(fd, bytes + got, 4 - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    got += n;
  }
  return got;
}

}  // namespace

void LoadLevelCells(Tpole& pole, const std::string& path) {
  // Read-only: the game never writes a level, and asking for write access would
  // refuse levels installed where the player may not write.
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) throw ErrorFromErrno(errno, path);

  const std::int32_t width = pole.Width;
  const std::int32_t height = pole.Height;
  for (std::int32_t x = 1; x <= width; ++x) {
    for (std::int32_t y = 1; y <= height; ++y) {
      unsigned char bytes[4] = {0, 0, 0, 0};
      const ssize_t got = ReadRecord(file.get(), bytes);
      if (got < 0) throw ErrorFromErrno(errno, path);
      // A short last record still lands in the low-order bytes, as a raw read would.
      const auto value =
          static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
          static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
      pole.Cells[x][y] = static_cast<std::int32_t>(value);
      if (got < 4) throw EInOutError(kShortRead, "Read beyond end of file");
    }
  }
  if (file.Close() != 0) throw ErrorFromErrno(errno, path);
}

void ReadLevelFile() {
  G.LevelFileName = std::to_string(G.Level) + ".lev";
  LoadLevelCells(*G.Pole, G.LevelFileName);
}

}  // namespace krel

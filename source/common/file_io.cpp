#include "common/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

namespace duvelin {
namespace fs = std::filesystem;
namespace {

Error FileError(const char* what, const fs::path& path, int error) {
  return Error{std::string(what) + " " + path.string() + ": " + std::strerror(error)};
}

std::string TemporarySibling(const fs::path& path) {
  static std::mt19937_64 generator{std::random_device{}()};
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(generator()));
  return path.string() + suffix;
}

}  // namespace

Result<std::string> ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return FileError("cannot open", path, errno ? errno : ENOENT);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return FileError("cannot read", path, EIO);
  return bytes;
}

Status WriteFileAtomically(const fs::path& path, std::string_view bytes) {
  const std::string temporary = TemporarySibling(path);
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return FileError("cannot create", temporary, errno);
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      ::close(fd);
      ::unlink(temporary.c_str());
      return FileError("cannot write", path, error);
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  const int syncResult = ::fsync(fd);
  const int syncError = errno;
  const int closeResult = ::close(fd);
  if (syncResult != 0 || closeResult != 0) {
    int error = syncResult != 0 ? syncError : errno;
    ::unlink(temporary.c_str());
    return FileError("cannot write", path, error);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    int error = errno;
    ::unlink(temporary.c_str());
    return FileError("cannot replace", path, error);
  }
  return Status::Ok();
}

Status RemoveFileIfPresent(const fs::path& path) {
  std::error_code error;
  fs::remove(path, error);
  if (error) return Error{"cannot delete " + path.string() + ": " + error.message()};
  return Status::Ok();
}

}  // namespace duvelin

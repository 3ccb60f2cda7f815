#include "platform/UFiles.h"

#include "platform/UText.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace Ryvel::Platform {

bool FileExists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool DirectoryExists(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  std::string data;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size > 0) {
    data.resize(static_cast<size_t>(size));
    in.seekg(0, std::ios::beg);
    in.read(data.data(), size);
    if (in.gcount() != size)
      return std::nullopt;
  }
  return data;
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

std::string RandomSuffix() {
  static std::mt19937_64 gen{std::random_device{}()};
  static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string s;
  for (int i = 0; i < 8; ++i)
    s.push_back(digits[gen() % 36]);
  return s;
}

} // namespace

bool WriteFileAtomic(const fs::path& path, std::string_view bytes) {
  const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
  // The temporary file lives in the target's folder so the rename never crosses a file system.
  fs::path tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    std::string name = ".";
    name += path.filename().string();
    name += '.';
    name += RandomSuffix();
    name += ".tmp";
    tmp = dir / name;
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST)
      return false;
  }
  if (fd < 0)
    return false;
  // Keep the old file's permissions where there is one.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0)
    ::fchmod(fd, st.st_mode & 07777);
  const bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !ok) {
    ::unlink(tmp.c_str());
    return false;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    ::unlink(tmp.c_str());
    return false;
  }
  // Make the rename itself durable.
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

bool ForceDirectories(const fs::path& path) {
  if (path.empty())
    return false;
  std::error_code ec;
  fs::create_directories(path, ec);
  return fs::is_directory(path, ec);
}

bool DeleteFileIfExists(const fs::path& path) {
  std::error_code ec;
  return fs::remove(path, ec) && !ec;
}

fs::path PathFromUtf16(std::u16string_view s) { return fs::path(Utf16ToUtf8(s)); }

std::u16string PathToUtf16(const fs::path& p) { return Utf8ToUtf16(p.string()); }

} // namespace Ryvel::Platform

#include "common/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace qp {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Moves all `size` bytes through ::read or ::write, however few each call
// takes, and again after an interrupted call; false at an error or the end.
template <typename Bytes, typename Transfer>
bool TransferAll(Transfer transfer, int fd, Bytes* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = transfer(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, unsigned char* data, size_t size) { return TransferAll(::read, fd, data, size); }
bool WriteAll(int fd, const unsigned char* data, size_t size) { return TransferAll(::write, fd, data, size); }

// Opens a regular file for reading and returns its size, or -1.
int OpenRegularFile(const std::string& path, off_t& size) {
  // A FIFO or a device would block the open itself: look before opening, and
  // open without blocking in case the name is swapped in between.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  size = st.st_size;
  return fd;
}

}  // namespace

std::optional<std::vector<unsigned char>> ReadFileOfExactSize(const std::string& path, size_t size) {
  off_t actual = 0;
  FileDescriptor fd(OpenRegularFile(path, actual));
  if (fd.get() < 0 || actual != static_cast<off_t>(size)) return std::nullopt;
  std::vector<unsigned char> bytes(size);
  if (!ReadAll(fd.get(), bytes.data(), size)) return std::nullopt;
  return bytes;
}

std::optional<std::string> ReadFileUpTo(const std::string& path, size_t maxSize) {
  off_t actual = 0;
  FileDescriptor fd(OpenRegularFile(path, actual));
  if (fd.get() < 0 || actual < 0 || static_cast<size_t>(actual) > maxSize) return std::nullopt;
  std::string bytes(static_cast<size_t>(actual), '\0');
  if (!ReadAll(fd.get(), reinterpret_cast<unsigned char*>(bytes.data()), bytes.size())) return std::nullopt;
  return bytes;
}

bool WriteFileAtomically(const std::string& path, std::string_view text) {
  return WriteFileAtomically(path, {{reinterpret_cast<const unsigned char*>(text.data()), text.size()}});
}

bool WriteFileAtomically(const std::string& path, std::initializer_list<std::span<const unsigned char>> parts) {
  std::string temp = path + ".XXXXXX";
  FileDescriptor fd(::mkstemp(temp.data()));
  if (fd.get() < 0) return false;
  bool ok = true;
  for (const auto& part : parts) {
    if (!WriteAll(fd.get(), part.data(), part.size())) {
      ok = false;
      break;
    }
  }
  // Data files are shared between users: give the new file the usual mode
  // (mkstemp creates it readable by the owner only).
  if (ok) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ok = ::fchmod(fd.get(), 0666 & ~mask) == 0;
  }
  ok = ok && ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool IsRegularFileOfSize(const std::string& path, size_t size) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == static_cast<off_t>(size);
}

bool RemoveFileIfExists(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

}  // namespace qp

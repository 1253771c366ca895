#include "settings/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace settings {
namespace {

// O_NONBLOCK keeps a FIFO of the settings file's name from hanging the game at open.
constexpr int kOpenFlags = O_CLOEXEC | O_NONBLOCK;

bool isRegularFile(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

// The errno of the call that just failed; EIO for a failure that set none (a write of 0 bytes).
int lastError() { return errno != 0 ? errno : EIO; }

// Writes content over the file's first bytes, whatever its offset: a fresh temporary file
// and an in-place rewrite alike.
bool writeAllFromStart(int fd, std::string_view content) {
  off_t at = 0;
  while (!content.empty()) {
    const ssize_t written = ::pwrite(fd, content.data(), content.size(), at);
    if (written < 0 && errno == EINTR) continue;
    if (written == 0) errno = EIO;
    if (written <= 0) return false;
    content.remove_prefix(static_cast<size_t>(written));
    at += written;
  }
  return true;
}

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename itself is only durable once the directory is synced; failing that is not
// a reason to call the save failed, the new content is complete either way.
void syncDirectoryOf(const std::string& path) {
  const UniqueFd dir(::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.get());
}

// A fresh temporary file beside path, created with the given mode (the umask applies).
UniqueFd createTempBeside(const std::string& path, mode_t mode, std::string& tempPath) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    UniqueFd fd(::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (fd || errno != EEXIST) return fd;
  }
  return UniqueFd();
}

bool fillAndSync(UniqueFd fd, std::string_view content) {
  const bool written = writeAllFromStart(fd.get(), content) && ::fsync(fd.get()) == 0;
  return ::close(fd.release()) == 0 && written;
}

// Gives the temporary file the old file's permission bits and owner: a settings file
// rewritten once by root must stay writable for its user. Ordinary users may not hand files
// to others (EPERM); the bits alone still apply then.
bool takeOverAttributes(int fd, const struct stat* old) {
  if (old == nullptr) return true;
  if (::fchown(fd, old->st_uid, old->st_gid) != 0 && errno != EPERM) return false;
  return ::fchmod(fd, old->st_mode & 07777) == 0;
}

// Writes a complete temporary file beside path, named in tempPath; 0 when everything reached
// the disk. Without an old file the temporary file gets the usual 0666 less the umask.
int writeTemp(const std::string& path, std::string_view content, const struct stat* old,
              std::string& tempPath) {
  UniqueFd fd = createTempBeside(path, 0666, tempPath);
  if (!fd) return lastError();
  if (takeOverAttributes(fd.get(), old) && fillAndSync(std::move(fd), content)) return 0;
  const int error = lastError();
  ::unlink(tempPath.c_str());
  return error;
}

// rename() that refuses to replace; link() serves file systems without RENAME_NOREPLACE.
bool renameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

int replaceByRename(const std::string& path, std::string_view content, const struct stat& old) {
  std::string temp;
  if (const int error = writeTemp(path, content, &old, temp)) return error;
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = lastError();
    ::unlink(temp.c_str());
    return error;
  }
  syncDirectoryOf(path);
  return 0;
}

// Claims the blocks that longer content needs before a byte of the file changes, so that a
// full disk or quota is met while the file is still whole. Where the file system cannot do
// this, the write itself finds out, and the old bytes are put back.
int reserveSpace(int fd, size_t size) {
  if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0) return 0;
  return errno == ENOSPC || errno == EDQUOT || errno == EFBIG ? errno : 0;
}

int rewriteInPlace(int fd, std::string_view content) {
  const std::optional<std::string> old = readWhole(fd);
  if (!old) return lastError();
  if (content.size() > old->size()) {
    if (const int error = reserveSpace(fd, content.size())) return error;
  }
  if (writeAllFromStart(fd, content) && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 &&
      ::fsync(fd) == 0) {
    return 0;
  }
  const int error = lastError();
  writeAllFromStart(fd, *old);
  static_cast<void>(::ftruncate(fd, static_cast<off_t>(old->size())));
  ::fsync(fd);
  return error;
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    reset();
    fd_ = other.release();
  }
  return *this;
}

int UniqueFd::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void UniqueFd::reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::optional<OpenedFile> openExisting(const std::string& path) {
  OpenedFile file{UniqueFd(::open(path.c_str(), O_RDWR | kOpenFlags)), false, 0};
  if (!file.fd) {
    file.writeRefusal = lastError();
    file.fd = UniqueFd(::open(path.c_str(), O_RDONLY | kOpenFlags));
    file.readOnly = true;
  }
  if (!file.fd || !isRegularFile(file.fd.get())) return std::nullopt;
  return file;
}

std::optional<std::string> readWhole(int fd) {
  std::string content;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(content.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return content;
    content.append(buffer, static_cast<size_t>(got));
  }
}

bool existsUnreadable(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return errno != ENOENT;
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | kOpenFlags));
  return !fd || !isRegularFile(fd.get());
}

UniqueFd createEmpty(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | kOpenFlags, 0666));
  if (fd && !isRegularFile(fd.get())) fd.reset();
  return fd;
}

std::string resolvedPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

int replaceWhole(int fd, const std::string& path, std::string_view content) {
  struct stat old {};
  if (::fstat(fd, &old) != 0) return lastError();
  if (replaceByRename(path, content, old) == 0) return 0;
  return rewriteInPlace(fd, content);
}

int createWhole(const std::string& path, std::string_view content) {
  std::string temp;
  if (const int error = writeTemp(path, content, nullptr, temp)) return error;
  if (!renameNoReplace(temp, path)) {
    const int error = lastError();
    ::unlink(temp.c_str());
    return error;
  }
  syncDirectoryOf(path);
  return 0;
}

}  // namespace settings

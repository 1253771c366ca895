// The few file operations the settings store needs, on POSIX. A save writes the new
// content to a temporary file beside the target, syncs it and renames it over, so a crash,
// a full disk or a size limit leaves the previous file whole. A folder that takes no new
// file (the player may write the file but not the folder) leaves only rewriting the open
// file in place; a failed write then puts the old bytes back, but a crash in the middle of
// that rewrite is the one way left to a half-written file.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace settings {

// Owns one file descriptor; closes it when destroyed.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int release();
  void reset();

 private:
  int fd_ = -1;
};

// An existing regular file opened read-write, or read-only when writing is refused.
struct OpenedFile {
  UniqueFd fd;
  bool readOnly = false;
  int writeRefusal = 0;  // errno of the refused read-write open, when readOnly
};

// Empty when the name is missing, cannot be opened at all or is not a regular file.
std::optional<OpenedFile> openExisting(const std::string& path);

// The whole content from the first byte; empty on a read error.
std::optional<std::string> readWhole(int fd);

// True when something of that name exists but cannot be opened for reading as a regular
// file: such a file is never replaced, since we cannot know what it holds.
bool existsUnreadable(const std::string& path);

// Creates the file read-write, or truncates an existing one to 0 bytes.
UniqueFd createEmpty(const std::string& path);

// The path that a rename must replace: symbolic links resolved, so a linked settings file
// keeps its link. The path itself when it cannot be resolved.
std::string resolvedPath(const std::string& path);

// Saves return 0 when the file holds the new content, otherwise the errno of the failure
// (the file is then as it was).

// Replaces the file at path, open read-write as fd, by content, keeping its permission bits
// and, where allowed, its owner. Rewrites it in place when no temporary file can be made.
int replaceWhole(int fd, const std::string& path, std::string_view content);

// Writes content as a new file at path; fails with EEXIST, leaving everything as it was,
// when a file of that name exists by then.
int createWhole(const std::string& path, std::string_view content);

}  // namespace settings

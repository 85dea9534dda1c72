#include "text/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

namespace orvela::text {

namespace {

constexpr std::string_view kTempMark = ".tmp-";

std::string temp_prefix(const std::filesystem::path& target) {
  return (target.parent_path() / ("." + target.filename().string())).string() +
         std::string(kTempMark);
}

}  // namespace

bool write_all(int fd, std::string_view content) {
  while (!content.empty()) {
    ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    // A write that takes nothing without saying why is a full disk.
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    content.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string WriteResult::reason() const { return std::system_category().message(error); }

WriteResult write_file_atomically(const std::filesystem::path& target, std::string_view content) {
  std::string tmpl = temp_prefix(target) + "XXXXXX";
  int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return {errno};
  RemoveOnFailure guard({tmpl});
  // mkstemp creates the file for the owner only; settings and bookmark files
  // are ordinary documents, readable like any other file the user saves.
  ::fchmod(fd, 0644);
  int error = write_all(fd, content) && ::fsync(fd) == 0 ? 0 : errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(tmpl.c_str(), target.c_str()) != 0) error = errno;
  if (error == 0) guard.keep();
  return {error};
}

WriteResult replace_with_temp(const std::filesystem::path& temp,
                              const std::filesystem::path& target) {
  const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {errno};
  int error = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  return {error};
}

std::filesystem::path temp_path_beside(const std::filesystem::path& target) {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device rd;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
  while (true) {
    std::string name = temp_prefix(target);
    for (int i = 0; i < 6; ++i) name += kChars[pick(rd)];
    std::error_code ec;
    if (!std::filesystem::exists(name, ec)) return name;
  }
}

std::filesystem::path create_temp_beside(const std::filesystem::path& target) {
  std::string tmpl = temp_prefix(target) + "XXXXXX";
  const int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return {};
  ::close(fd);
  return tmpl;
}

bool append_line(const std::filesystem::path& file, std::string_view line) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  struct stat before {};
  bool ok = ::fstat(fd, &before) == 0;
  std::string whole(line);
  whole += '\n';
  if (ok && !write_all(fd, whole)) {
    ok = false;
    // Take back the part that went in, so the next line starts clean; when
    // even that fails, a log has nowhere to say so.
    [[maybe_unused]] const int undone = ::ftruncate(fd, before.st_size);
  }
  return (::close(fd) == 0) && ok;
}

bool is_temp_name(const std::filesystem::path& p) {
  std::string name = p.filename().string();
  // SQLite's companions of a temporary map are temporary too.
  for (std::string_view companion : {"-journal", "-wal", "-shm"})
    if (name.ends_with(companion)) name.resize(name.size() - companion.size());
  const std::size_t mark = name.rfind(kTempMark);
  return name.size() > 1 && name.front() == '.' && mark != std::string::npos && mark > 1 &&
         name.size() == mark + kTempMark.size() + 6;
}

RemoveOnFailure::~RemoveOnFailure() {
  if (kept_) return;
  for (const auto& f : files_) {
    std::error_code ec;
    std::filesystem::remove(f, ec);
  }
}

}  // namespace orvela::text

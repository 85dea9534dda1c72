#include "text/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>

namespace orvela::text {

namespace {

constexpr std::string_view kTempMark = ".tmp-";

bool write_all(int fd, std::string_view content) {
  while (!content.empty()) {
    ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    content.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string temp_prefix(const std::filesystem::path& target) {
  return (target.parent_path() / ("." + target.filename().string())).string() +
         std::string(kTempMark);
}

}  // namespace

bool write_file_atomically(const std::filesystem::path& target, std::string_view content) {
  std::string tmpl = temp_prefix(target) + "XXXXXX";
  int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return false;
  RemoveOnFailure guard({tmpl});
  // mkstemp creates the file for the owner only; settings and bookmark files
  // are ordinary documents, readable like any other file the user saves.
  ::fchmod(fd, 0644);
  bool ok = write_all(fd, content) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(tmpl.c_str(), target.c_str()) == 0;
  if (ok) guard.keep();
  return ok;
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

#include "text/fileutil.h"

#include <filesystem>
#include <system_error>

#include "text/strutil.h"

namespace orvela::text {

namespace {
constexpr std::string_view kSeparators = "/:\\";
}

std::string REMEXT(std::string_view f) {
  if (f.size() <= 2) return std::string(f);
  std::size_t pos = f.find_last_of(".:/\\");
  if (pos == std::string_view::npos || f[pos] != '.') return std::string(f);
  return std::string(f.substr(0, pos));
}

std::string GETFNAME(std::string_view f) {
  std::size_t pos = f.find_last_of(kSeparators);
  return LOWCASESTR(pos == std::string_view::npos ? f : f.substr(pos + 1));
}

std::string REMFNAME(std::string_view f) {
  std::size_t pos = f.find_last_of(kSeparators);
  return pos == std::string_view::npos ? std::string() : std::string(f.substr(0, pos + 1));
}

bool FEXIST(std::string_view f) {
  if (f.empty()) return false;
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::path(f), ec);
}

ProgramFile ProgramFile::current(std::string_view fallback) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty())
    return ProgramFile(std::filesystem::absolute(std::string(fallback), ec).string());
  return ProgramFile(exe.string());
}

std::string ProgramFile::PROGPATH() const { return REMFNAME(path_); }

std::string ProgramFile::PROGFILE(std::string_view ext) const {
  return REMEXT(path_) + std::string(ext);
}

}  // namespace orvela::text

#include "app/paths.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>

#include "text/atomic_file.h"

namespace orvela::app {
namespace fs = std::filesystem;

namespace {

fs::path env_dir(const Paths::EnvLookup& env, const char* name, const fs::path& fallback) {
  const char* v = env(name);
  // XDG asks to ignore relative paths in these variables.
  if (v && *v == '/') return fs::path(v);
  return fallback;
}

bool writable_dir(const fs::path& dir) { return ::access(dir.c_str(), W_OK) == 0; }

// Where `cmake --install` puts the assets, seen from the folder it puts the
// program in; relative, so an installation under any prefix finds them.
#ifndef ORVELA_ASSETS_FROM_BINDIR
#define ORVELA_ASSETS_FROM_BINDIR "../share/orvela"
#endif

}  // namespace

Paths::Paths(fs::path program_dir, const fs::path& home)
    : Paths(std::move(program_dir), home, home, home) {}

Paths::Paths(fs::path program_dir, fs::path config, fs::path data, fs::path cache)
    : program_dir_(std::move(program_dir)),
      assets_dir_(assets_dir_for(program_dir_)),
      config_dir_(std::move(config)),
      data_dir_(std::move(data)),
      temp_dir_(std::move(cache) / "tmp") {}

fs::path Paths::running_program_dir() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path(ec);
  return exe.parent_path();
}

fs::path Paths::assets_dir_for(const fs::path& program_dir) {
  std::error_code ec;
  // osm.rules is the one asset every copy of the program carries.
  if (fs::exists(program_dir / "osm.rules", ec)) return program_dir;
  fs::path installed = (program_dir / ORVELA_ASSETS_FROM_BINDIR).lexically_normal();
  if (fs::exists(installed / "osm.rules", ec)) return installed;
  return program_dir;
}

Paths Paths::detect(const std::optional<fs::path>& home_override) {
  return detect(running_program_dir(), home_override,
                [](const char* name) { return std::getenv(name); });
}

Paths Paths::detect(fs::path prog, const std::optional<fs::path>& home_override,
                    const EnvLookup& env) {
  if (home_override) {
    std::error_code ec;
    fs::path home = fs::absolute(*home_override, ec);
    return Paths(prog, ec ? *home_override : home);
  }
  // An installed program keeps its state apart from the shared program
  // folder even when that folder happens to be writable (a user prefix).
  if (assets_dir_for(prog) == prog && writable_dir(prog)) return Paths(prog, prog);
  fs::path user_home = env_dir(env, "HOME", "/tmp");
  return Paths(prog, env_dir(env, "XDG_CONFIG_HOME", user_home / ".config") / "orvela",
               env_dir(env, "XDG_DATA_HOME", user_home / ".local/share") / "orvela",
               env_dir(env, "XDG_CACHE_HOME", user_home / ".cache") / "orvela");
}

TempFile::TempFile(const fs::path& dir) : path_(text::create_temp_beside(dir / "orvela.dat")) {}

TempFile::~TempFile() {
  if (path_.empty()) return;
  std::error_code ec;
  fs::remove(path_, ec);
}

}  // namespace orvela::app

#include "support/test_env.h"

#include <cstdlib>
#include <random>
#include <stdexcept>

// Sanitizer settings of every test process. Children (the orvela binary run
// by end-to-end tests) inherit them through the environment set below.
extern "C" const char* __lsan_default_options() {
  return "suppressions=" ORVELA_LSAN_SUPPRESSIONS ":print_suppressions=0";
}
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

namespace orvela::test {
namespace fs = std::filesystem;

namespace {
// Defaults for what CTest or the developer did not set: where things are,
// OpenAL without a sound card, and the same sanitizer options for children.
struct EnvironmentDefaults {
  EnvironmentDefaults() {
    const char* defaults[][2] = {
        {"ORVELA_SOURCE_DIR", ORVELA_DEFAULT_SOURCE_DIR},
        {"ORVELA_PROGRAM_DIR", ORVELA_DEFAULT_PROGRAM_DIR},
        {"ORVELA_TEST_DATA", ORVELA_DEFAULT_TEST_DATA},
        {"ALSOFT_DRIVERS", "null"},
        {"NO_AT_BRIDGE", "1"},
        {"LSAN_OPTIONS", "suppressions=" ORVELA_LSAN_SUPPRESSIONS ":print_suppressions=0"},
        {"UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1"},
    };
    for (auto& [name, value] : defaults) setenv(name, value, /*overwrite=*/0);
  }
};
const EnvironmentDefaults environment_defaults;
}  // namespace

static fs::path env_path(const char* name, const fs::path& fallback) {
  const char* v = std::getenv(name);
  return v && *v ? fs::path(v) : fallback;
}

fs::path source_dir() { return env_path("ORVELA_SOURCE_DIR", fs::current_path()); }

fs::path program_dir() { return env_path("ORVELA_PROGRAM_DIR", fs::current_path()); }

std::optional<fs::path> shared_data_dir() {
  fs::path p = env_path("ORVELA_TEST_DATA", source_dir() / ".." / "shared" / "data");
  std::error_code ec;
  if (fs::is_directory(p / "osm", ec)) return p;
  return std::nullopt;
}

TempDir::TempDir() {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path p = fs::temp_directory_path() / ("orvela-test-" + std::to_string(rd()));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      path_ = p;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

}  // namespace orvela::test

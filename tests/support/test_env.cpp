#include "support/test_env.h"

#include <cstdlib>
#include <random>
#include <stdexcept>

namespace orvela::test {
namespace fs = std::filesystem;

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

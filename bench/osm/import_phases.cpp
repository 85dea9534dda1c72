// Where an import spends its time: wall and CPU seconds of each phase
// (reading and converting, intersections, closing) and the peak memory, for
// one input file.  Usage: orvela_import_phases INPUT [RULES]
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <utility>

#include "osm/osmreader.h"

namespace fs = std::filesystem;
using namespace orvela;

namespace {

double cpu_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Resident memory now and at its highest so far, in MB, from /proc.
std::pair<double, double> memory_mb() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  double rss = 0, hwm = 0;
  if (f == nullptr) return {rss, hwm};
  char line[256];
  while (std::fgets(line, sizeof line, f) != nullptr) {
    unsigned long kb = 0;
    if (std::sscanf(line, "VmRSS: %lu kB", &kb) == 1) rss = static_cast<double>(kb) / 1024.0;
    if (std::sscanf(line, "VmHWM: %lu kB", &kb) == 1) hwm = static_cast<double>(kb) / 1024.0;
  }
  std::fclose(f);
  return {rss, hwm};
}

double wall_seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s INPUT [RULES]\n", argv[0]);
    return 2;
  }
  fs::path rules = argc > 2 ? fs::path(argv[2]) : fs::path(ORVELA_BENCH_RULES);
  fs::path dir = fs::temp_directory_path() / ("orvela-phases-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const char* names[] = {"start", "reading", "intersections", "closing"};
  int phase = 0;
  double wall0 = wall_seconds(), cpu0 = cpu_seconds();
  auto mark = [&](int next) {
    double w = wall_seconds(), c = cpu_seconds();
    auto [rss, hwm] = memory_mb();
    std::printf("%-14s %7.2f s wall %7.2f s cpu, at its end %6.1f MB resident, %6.1f MB peak\n",
                names[phase], w - wall0, c - cpu0, rss, hwm);
    wall0 = w;
    cpu0 = c;
    phase = next;
  };
  osm::OsmImportStats stats;
  osm::OsmImportOptions opt;
  opt.rules_file = rules;
  opt.stats = &stats;
  opt.progress = [&](uint64_t cur, uint64_t total) {
    if (total == 0 && cur >= osm::OSMREAD_EVMAPINIT && cur <= osm::OSMREAD_EVMAPCLOSE) {
      mark(static_cast<int>(cur));
    }
    return false;
  };
  fs::path out = dir / "out.orvel";
  osm::OsmImportResult r = osm::OSMPROCFILE(argv[1], out, dir / "errors.log", opt);
  mark(0);
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::error_code ec;
  auto size = fs::file_size(out, ec);
  std::printf(
      "result %d, %llu nodes (%llu spilled to SQLite), %llu ways, %llu intersections, peak %.1f "
      "MB, output %.1f MB\n",
      r.LASTERR, static_cast<unsigned long long>(stats.ILNODES),
      static_cast<unsigned long long>(stats.spilled_nodes),
      static_cast<unsigned long long>(stats.ILWAYS),
      static_cast<unsigned long long>(stats.intersections), ru.ru_maxrss / 1024.0,
      ec ? 0.0 : static_cast<double>(size) / 1048576.0);
  fs::remove_all(dir);
  return r.LASTERR;
}

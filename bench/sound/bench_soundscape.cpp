// The soundscape after each step of the user: SETSOUNDSCAPE (reading 441
// cells of the grid) with SOUNDSCAPEAPLY, on a grid where every cell around
// the user holds an object, with our generated sound set and sound list,
// OpenAL Soft on its null backend. Target: median under 2 ms per step.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "map/grid.h"
#include "map/user.h"
#include "sound/grid_cells.h"
#include "sound/soundscape.h"

namespace {

using namespace orvela;

const char* const kKinds[] = {"road residential",
                              "arterial primary",
                              "footpath",
                              "tram line",
                              "railway line",
                              "bus stop",
                              "river",
                              "park",
                              "forest",
                              "building",
                              "shop",
                              "restaurant",
                              "school",
                              "pharmacy",
                              "church",
                              "parking",
                              "bench",
                              "fence",
                              "grass",
                              "lake"};

// Every cell within 12 of the grid centre holds an object: random kinds, so
// thinning keeps most cells and many sources play at once.
void fill_busy(map::Grid& grid) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<std::size_t> kind(0, std::size(kKinds) - 1);
  std::uniform_int_distribution<int> type(0, 3);
  const char* types[] = {"l", "o", "p", "p"};
  for (int x = 63; x <= 87; ++x) {
    for (int y = 63; y <= 87; ++y) {
      map::ORVOBJREC o;
      o.OBJTYPE = types[type(rng)];
      o.TYP = kKinds[kind(rng)];
      int32_t id = grid.ADDOBJ(o);
      grid.SETMAPA(x + 0.5, y + 0.5, id, 0, 0, 0, 0.0, 5);
    }
  }
}

// One soundscape update per iteration: a step east and back when `walk`,
// otherwise a 15-degree turn on the spot (every sound keeps its source).
void run_updates(benchmark::State& state, bool walk) {
  ::setenv("ALSOFT_DRIVERS", "null", 0);
  std::filesystem::path program = ORVELA_BUILD_PROGRAM_DIR;
  auto home =
      std::filesystem::temp_directory_path() / ("orvela-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(home);
  sound::SoundList list;
  list.READSOUNDSLIST(program / "sounds.ini", program / "sounds");
  sound::AudioEngine engine({program / "sounds", home / "alsoft.ini", program / "hrtf"});
  if (!engine.SOUNDINIT("").device_open) {
    state.SkipWithError("OpenAL Soft did not open a device");
    return;
  }
  sound::Soundscape scape(engine, list);
  map::Grid grid;
  fill_busy(grid);
  map::UserState user;
  sound::GridCells cells(grid, user);
  scape.SETSOUNDSCAPE({cells, user.UDIR});  // load the buffers once
  int step = 0;
  for (auto _ : state) {
    if (walk) user.UPOSX = 75.0 + (step % 2);
    user.UDIR = (step * 15) % 360;
    ++step;
    scape.SETSOUNDSCAPE({cells, user.UDIR});
  }
  state.counters["sources"] = engine.SOUNDSRCUSED();
  state.counters["buffers"] = engine.SOUNDBUFSUSED();
  engine.SOUNDCLOSE();
  std::filesystem::remove_all(home);
}

void BM_StepOnBusyGrid(benchmark::State& state) { run_updates(state, true); }
void BM_TurnOnBusyGrid(benchmark::State& state) { run_updates(state, false); }

BENCHMARK(BM_StepOnBusyGrid)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_TurnOnBusyGrid)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

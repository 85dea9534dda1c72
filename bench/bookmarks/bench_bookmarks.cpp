// A list of 100000 bookmarks: loading it from each file format, listing it
// with distances and directions (the dialog of "Go to bookmark", printed by
// the console front end), saving it, and the bookmark lookups the
// soundscape makes after every step (441 cells).
//
// The files are written once into $TMPDIR/orvela_bench_bookmarks.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "bookmarks/bookmarks.h"
#include "bookmarks/gpx.h"
#include "bookmarks/loadstone.h"
#include "explore/direction.h"
#include "map/grid.h"
#include "map/loader.h"
#include "map/mapdb.h"
#include "map/user.h"
#include "text/atomic_file.h"
#include "text/messages.h"
#include "ui/console_ui.h"

namespace orvela {
namespace {

namespace fs = std::filesystem;
using bookmarks::ARRLOC;
using bookmarks::LOCATION;

constexpr int kCount = 100000;
constexpr int32_t kLat = 45815000;  // Zagreb
constexpr int32_t kLon = 15982000;

fs::path work_dir() {
  fs::path d = fs::temp_directory_path() / "orvela_bench_bookmarks";
  fs::create_directories(d);
  return d;
}

// Points spread over about 30 by 30 kilometres, named like a user's.
ARRLOC many() {
  ARRLOC list;
  list.reserve(kCount);
  for (int i = 0; i < kCount; ++i) {
    LOCATION l;
    l.NAME = std::to_string(i + 1) + ". autobusna stanica \xC4\x8Cakove\xC4\x8Dka";
    l.LAT = kLat + (i % 317) * 853 - 135000;
    l.LON = kLon + (i / 317) * 1201 - 190000;
    list.push_back(std::move(l));
  }
  return list;
}

fs::path file(const std::string& name) {
  const fs::path p = work_dir() / name;
  if (fs::exists(p)) return p;
  const ARRLOC list = many();
  if (name.ends_with(".gpx"))
    text::write_file_atomically(p, bookmarks::gpx_text(list));
  else
    text::write_file_atomically(
        p, bookmarks::loadstone_text(list, name.ends_with(".lscp") ? bookmarks::BMFORMAT_LSCP
                                                                   : bookmarks::BMFORMAT_LSDB));
  return p;
}

// The bookmark module as the program runs it, on the console front end,
// with the user standing in the middle of the points on a loaded grid.
struct World {
  explicit World(std::string input)
      : in(std::move(input)),
        ui(in, out, err),
        msg(ui.speech()),
        db(work_dir() / "errdb.log"),
        loader(db, grid, user, work_dir()),
        bm(user, grid, loader, ui, msg, tables, settings, work_dir() / "orvela.start") {
    user.ULAT = kLat;
    user.ULON = kLon;
    user.ULATLONSET = true;
    grid.set_area(kLat, kLon);
    // The list is placed on the grid only while a map is open.
    loader.set_FN((work_dir() / "none.orvel").string());
    bm.hooks.GETDIRSTR = [this](int32_t dir) {
      return explore::GETDIRSTR(tables, 0, user.UDIR, dir);
    };
  }
  std::istringstream in;
  std::ostringstream out, err;
  ui::ConsoleUi ui;
  text::Messages msg;
  explore::DirectionTables tables;
  bookmarks::BookmarkSettings settings;
  map::MapDb db;
  map::Grid grid;
  map::UserState user;
  map::MapLoader loader;
  bookmarks::Bookmarks bm;
};

void load(benchmark::State& state, const std::string& name) {
  const fs::path f = file(name);
  World w("");
  for (auto _ : state) {
    w.bm.clear();
    w.bm.load_file(f);
    if (w.bm.BOOKMARKS().size() != kCount) state.SkipWithError("not every point was loaded");
  }
  state.SetItemsProcessed(state.iterations() * kCount);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(f)));
}

void BM_LoadLsdb(benchmark::State& state) { load(state, "many.lsdbtxt"); }
void BM_LoadLscp(benchmark::State& state) { load(state, "many.lscp"); }
void BM_LoadGpx(benchmark::State& state) { load(state, "many.gpx"); }
BENCHMARK(BM_LoadLsdb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLscp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadGpx)->Unit(benchmark::kMillisecond);

// "Go to bookmark" after a step: every distance and direction again, one
// line each, printed, then cancelled.
void BM_ListAfterAStep(benchmark::State& state) {
  std::string cancels;
  for (int i = 0; i < 10000; ++i) cancels += ":cancel\n";
  World w(cancels);
  w.bm.load_file(file("many.lsdbtxt"));
  for (auto _ : state) {
    w.user.BOOKMARKSUPOSCHANGED = true;
    int32_t n = w.bm.GETNEARESTBOOKMARK();
    w.bm.SELECTBOOKMARK(n, false, "Go to bookmark", "Select bookmark");
    w.out.str("");
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_ListAfterAStep)->Unit(benchmark::kMillisecond);

void save(benchmark::State& state, const std::string& name, int format) {
  const ARRLOC list = many();
  const fs::path f = work_dir() / ("saved-" + name);
  for (auto _ : state) {
    const std::string text = name.ends_with(".gpx") ? bookmarks::gpx_text(list)
                                                    : bookmarks::loadstone_text(list, format);
    if (!text::write_file_atomically(f, text)) state.SkipWithError("cannot write");
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
void BM_SaveLsdb(benchmark::State& state) { save(state, "x.lsdbtxt", bookmarks::BMFORMAT_LSDB); }
void BM_SaveLscp(benchmark::State& state) { save(state, "x.lscp", bookmarks::BMFORMAT_LSCP); }
void BM_SaveGpx(benchmark::State& state) { save(state, "x.gpx", bookmarks::BMFORMAT_LSCP); }
BENCHMARK(BM_SaveLsdb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLscp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveGpx)->Unit(benchmark::kMillisecond);

// The soundscape's question for each of the 441 cells around the user; with
// `state.range(0)` the list changed just before (the cell index is rebuilt).
void BM_CellsAroundTheUser(benchmark::State& state) {
  World w("");
  w.bm.load_file(file("many.lsdbtxt"));
  int found = 0;
  for (auto _ : state) {
    if (state.range(0)) w.bm.RECALCARRLOC();
    for (int x = -10; x <= 10; ++x)
      for (int y = -10; y <= 10; ++y) found += w.bm.GETBOOKMARKATXY(75.5 + x, 75.5 + y) >= 0;
  }
  benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_CellsAroundTheUser)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvela

// Speed of exploring a real map: a load of the grid at several zoom levels
// (Liechtenstein, and the same map tiled 20 times into one file), a step
// from the command to its spoken text when no reload is needed, and the
// start-point search with one, two and three key words.
//
// The maps are imported once into $TMPDIR/orvela_bench_explore and reused.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <utility>

#include "bookmarks/bookmarks.h"
#include "explore/explorer.h"
#include "explore/search.h"
#include "map/grid.h"
#include "map/loader.h"
#include "map/mapdb.h"
#include "map/varint.h"
#include "osm/osmreader.h"
#include "text/messages.h"
#include "ui/console_ui.h"

namespace orvela {
namespace {

namespace fs = std::filesystem;

constexpr int32_t VADUZ_LAT = 47141000;
constexpr int32_t VADUZ_LON = 9521000;

fs::path work_dir() {
  fs::path d = fs::temp_directory_path() / "orvela_bench_explore";
  fs::create_directories(d / "maps");
  return d;
}

// Liechtenstein converted by the program's own import; empty when the data is absent.
fs::path liechtenstein_map() {
  static const fs::path made = [] {
    fs::path out = work_dir() / "maps" / "liechtenstein.orvel";
    if (fs::exists(out)) return out;
    fs::path in = fs::path(ORVELA_BENCH_DATA_DIR) / "osm" / "liechtenstein-2013-08-03.osm.bz2";
    if (!fs::exists(in)) return fs::path();
    osm::OsmImportOptions opt;
    opt.rules_file = fs::path(ORVELA_BUILD_PROGRAM_DIR) / "osm.rules";
    auto r = osm::OSMPROCFILE(in, out, work_dir() / "errdb.log", opt);
    return r.LASTERR == 0 ? out : fs::path();
  }();
  return made;
}

// A copy of Liechtenstein's map holding `copies` of the country, copy k
// shifted by offset(k) micro-degrees (copy 0 is the original). Only the
// rows a load reads are copied: lines with their index, and points.
template <typename Offset>
fs::path replicated_map(const std::string& name, int copies, Offset offset) {
  fs::path src = liechtenstein_map();
  fs::path out = work_dir() / "maps" / name;
  if (src.empty()) return fs::path();
  if (fs::exists(out)) return out;
  fs::path part = out;
  part += ".part";
  fs::copy_file(src, part, fs::copy_options::overwrite_existing);
  map::MapDb db(work_dir() / "errdb.log");
  db.DBCONNECTRW(part.string());
  db.DBQUERY("begin;");
  db.DBQUERY("create temp table src_lin as select * from orvel_lin;");
  db.DBQUERY("create temp table src_poi as select * from orvel_poi;");
  map::Stmt rows = db.DBPREPARE(
      "select objtype, nameid, typeid, streetid, housenum, cityid, regionid, countryid, "
      "startlev, endlev, points, hlevels from src_lin;");
  map::Stmt ins = db.DBPREPARE(
      "insert into orvel_lin (objtype, nameid, typeid, streetid, housenum, cityid, regionid, "
      "countryid, startlev, "
      "endlev, points, hlevels) values (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12);");
  map::Stmt idx = db.DBPREPARE(
      "insert into orvel_linidx (id, minlon, maxlon, minlat, maxlat) values (?1,?2,?3,?4,?5);");
  std::vector<map::POINT> pts;
  for (int k = 1; k < copies; ++k) {
    const auto [dlon, dlat] = offset(k);
    sqlite3_reset(rows);
    while (sqlite3_step(rows) == SQLITE_ROW) {
      auto blob = static_cast<const uint8_t*>(sqlite3_column_blob(rows, 10));
      map::decode_points({blob, static_cast<size_t>(sqlite3_column_bytes(rows, 10))}, pts);
      if (pts.empty()) continue;
      double minlon = 1e9, maxlon = -1e9, minlat = 1e9, maxlat = -1e9;
      for (auto& p : pts) {
        p.X += dlon;
        p.Y += dlat;
        minlon = std::min(minlon, p.X / 1e6), maxlon = std::max(maxlon, p.X / 1e6);
        minlat = std::min(minlat, p.Y / 1e6), maxlat = std::max(maxlat, p.Y / 1e6);
      }
      sqlite3_reset(ins);
      for (int c = 0; c < 10; ++c) sqlite3_bind_value(ins, c + 1, sqlite3_column_value(rows, c));
      auto enc = map::encode_points(pts);
      sqlite3_bind_blob(ins, 11, enc.data(), static_cast<int>(enc.size()), SQLITE_TRANSIENT);
      sqlite3_bind_value(ins, 12, sqlite3_column_value(rows, 11));
      sqlite3_step(ins);
      sqlite3_reset(idx);
      sqlite3_bind_int64(idx, 1, sqlite3_last_insert_rowid(db.DB()));
      sqlite3_bind_double(idx, 2, minlon);
      sqlite3_bind_double(idx, 3, maxlon);
      sqlite3_bind_double(idx, 4, minlat);
      sqlite3_bind_double(idx, 5, maxlat);
      sqlite3_step(idx);
    }
    db.DBQUERY(
        "insert into orvel_poi (objtype, nameid, typeid, streetid, housenum, cityid, regionid, "
        "countryid, lat, lon, startlev, endlev) select objtype, nameid, typeid, streetid, "
        "housenum, cityid, regionid, countryid, lat + " +
        std::to_string(dlat) + ", lon + " + std::to_string(dlon) +
        ", startlev, endlev from src_poi;");
  }
  rows.reset();
  ins.reset();
  idx.reset();
  db.DBQUERY("commit;");
  db.DBCLOSE();
  fs::rename(part, out);
  return out;
}

// Twenty copies of Liechtenstein side by side (5 x 4 tiles, 0.25 degrees
// apart), the original at the south-west corner: the index is 20 times
// larger, the area around Vaduz as dense as before.
fs::path tiled_map() {
  static const fs::path made = replicated_map("liechtenstein20.orvel", 20, [](int tile) {
    return std::pair<int32_t, int32_t>{(tile % 5) * 250000, (tile / 5) * 250000};
  });
  return made;
}

// A hundred copies in a row from west to east, half a degree apart: a
// country-sized map. Users stand in its middle and zoom out for an
// overview, with about forty copies in view at 10 km squares.
fs::path row100_map() {
  static const fs::path made = replicated_map("liechtenstein100.orvel", 100, [](int k) {
    return std::pair<int32_t, int32_t>{k * 500000, 0};
  });
  return made;
}
constexpr int32_t ROW100_MIDDLE_LAT = 47140000;
constexpr int32_t ROW100_MIDDLE_LON = 34520000;

// The loader and walker on a map, with speech that goes nowhere.
struct Session {
  explicit Session(const fs::path& map)
      : ui(in, out, err),
        db(work_dir() / "errdb.log"),
        msg(speech),
        loader(db, grid, user, map.parent_path()),
        ex(grid, user, loader, ui, msg, consts, settings) {
    loader.set_FN(map.string());
    user.ULAT = VADUZ_LAT;
    user.ULON = VADUZ_LON;
    user.ULATLONSET = true;
  }
  std::istringstream in;
  std::ostringstream out, err;
  ui::ConsoleUi ui;
  text::SilentSpeech speech;
  map::MapDb db;
  map::Grid grid;
  map::UserState user;
  text::Messages msg;
  text::StringConsts consts;
  map::MapLoader loader;
  explore::ExploreSettings settings;
  explore::Explorer ex;
};

void load_at_zoom(benchmark::State& state, const fs::path& map, int32_t lat = VADUZ_LAT,
                  int32_t lon = VADUZ_LON) {
  if (map.empty()) {
    state.SkipWithError("the Liechtenstein extract is not in the shared data");
    return;
  }
  Session s(map);
  s.user.ULAT = lat;
  s.user.ULON = lon;
  s.grid.ILEV = static_cast<uint8_t>(state.range(0));
  s.grid.SETILEV();
  for (auto _ : state) {
    const map::LoadResult r = s.loader.READMAP();
    if (r.status != map::MapStatus::Loaded) {
      state.SkipWithError(("load failed: " + r.error).c_str());
      break;
    }
  }
  state.counters["objects"] = s.grid.ILOBJ;
}

void BM_ReadMap(benchmark::State& state) { load_at_zoom(state, liechtenstein_map()); }
BENCHMARK(BM_ReadMap)->Arg(0)->Arg(2)->Arg(5)->Arg(8)->Arg(11)->Unit(benchmark::kMillisecond);

void BM_ReadMapTiled20(benchmark::State& state) { load_at_zoom(state, tiled_map()); }
BENCHMARK(BM_ReadMapTiled20)
    ->Arg(0)
    ->Arg(2)
    ->Arg(5)
    ->Arg(8)
    ->Arg(11)
    ->Unit(benchmark::kMillisecond);

// Zooming out level by level in the middle of the country-sized map.
void BM_ReadMapRow100(benchmark::State& state) {
  load_at_zoom(state, row100_map(), ROW100_MIDDLE_LAT, ROW100_MIDDLE_LON);
}
BENCHMARK(BM_ReadMapRow100)->DenseRange(0, 11)->Unit(benchmark::kMillisecond);

// Walking east and west along row 75 never reaches the reload margin.
void BM_StepToSpeech(benchmark::State& state) {
  fs::path map = liechtenstein_map();
  if (map.empty()) {
    state.SkipWithError("the Liechtenstein extract is not in the shared data");
    return;
  }
  Session s(map);
  s.loader.READMAP();
  s.ex.SETUDIR(90);
  int n = 0;
  for (auto _ : state) {
    if (++n % 40 == 0) s.ex.SETUDIR(s.user.UDIR == 90 ? 270 : 90);
    s.ex.UDIRMOVE(0);
    benchmark::DoNotOptimize(s.msg.LASTSAY().data());
  }
  if (s.user.UPOSX < 10 || s.user.UPOSX > 140) state.SkipWithError("walked into a reload");
}
BENCHMARK(BM_StepToSpeech)->Unit(benchmark::kMicrosecond);

// Key words of the start-point search: Vaduz, its post office, the bus
// stop in front of it.
const char* const kStartPointWords[] = {"", "vaduz", "vaduz post", "vaduz post bus"};

// The start-point search as the person meets it: from the entered key
// words to the list on the screen (then left), the query itself in the
// background task included.
void start_point_search(benchmark::State& state, const fs::path& map) {
  if (map.empty()) {
    state.SkipWithError("the Liechtenstein extract is not in the shared data");
    return;
  }
  Session s(map);
  std::string answers;
  for (int i = 0; i < 100000; ++i)
    answers += std::string(kStartPointWords[state.range(0)]) + "\n0\n";
  s.in.str(answers);
  bookmarks::BookmarkSettings bset;
  bookmarks::Bookmarks bm(s.user, s.grid, s.loader, s.ui, s.msg, s.consts, bset,
                          work_dir() / "orvela.start");
  explore::Search search(s.ex, bm, s.db, s.loader, s.grid, s.user, s.ui);
  s.loader.READMAP();
  for (auto _ : state) {
    s.out.str("");
    search.SELMAPSTARTPOINT();
  }
  state.counters["found"] = static_cast<double>(search.LOCSEARCHRES().size());
}

void BM_StartPointSearch(benchmark::State& state) {
  start_point_search(state, liechtenstein_map());
}
BENCHMARK(BM_StartPointSearch)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_StartPointSearchTiled20(benchmark::State& state) { start_point_search(state, tiled_map()); }
BENCHMARK(BM_StartPointSearchTiled20)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvela

// Speed of the map core's hot paths: decoding line geometry (every load
// decodes every line of the area) and GEODIST (every bookmark and search
// result, each time distances are recomputed).
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <random>
#include <vector>

#include "map/geo.h"
#include "map/mapdb.h"
#include "map/varint.h"

namespace orvela::map {
namespace {

// A street-like line: small steps of a few metres to a few hundred.
std::vector<POINT> random_line(std::mt19937& rng, size_t n) {
  std::uniform_int_distribution<int32_t> step(-3000, 3000);
  std::vector<POINT> pts;
  POINT p{21012000, 52229000};
  for (size_t i = 0; i < n; ++i) {
    p.X += step(rng);
    p.Y += step(rng);
    pts.push_back(p);
  }
  return pts;
}

void BM_DecodePoints(benchmark::State& state) {
  std::mt19937 rng(1);
  const auto blob = encode_points(random_line(rng, static_cast<size_t>(state.range(0))));
  std::vector<POINT> out;
  for (auto _ : state) {
    decode_points(blob, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["bytes/vertex"] =
      static_cast<double>(blob.size()) / static_cast<double>(state.range(0));
}
BENCHMARK(BM_DecodePoints)->Arg(2)->Arg(20)->Arg(1000);

// Rows read from a map file and decoded through the access layer, as a load does.
void BM_SqliColGetPoints(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "orvela_bench_map";
  std::filesystem::create_directories(dir);
  MapDb db(dir / DBERRFN);
  const std::string fn = (dir / "bench.orvel").string();
  std::filesystem::remove(fn);
  db.DBCONNECTRW(fn);
  db.DBQUERY("create table orvel_lin (id integer primary key, points blob, hlevels blob);");
  db.DBQUERY("begin;");
  std::mt19937 rng(2);
  const size_t rows = 2000, per_row = static_cast<size_t>(state.range(0));
  {
    Stmt ins = db.DBPREPARE("insert into orvel_lin (points, hlevels) values (?1, ?2);");
    const std::vector<HLEVREC> hl = {{0, 0}, {static_cast<uint16_t>(per_row - 1), 4}};
    for (size_t i = 0; i < rows; ++i) {
      db.DBBINDBLOB(ins, 1, encode_points(random_line(rng, per_row)));
      db.DBBINDBLOB(ins, 2, encode_hlevels(hl));
      db.DBSTEP(ins);
      db.DBRESET(ins);
    }
  }
  db.DBQUERY("commit;");
  db.DBCLOSE();
  db.DBCONNECTRO(fn);
  int64_t vertices = 0;
  LineGeometry geom;
  for (auto _ : state) {
    db.DBS() = db.DBPREPARE("select points, hlevels from orvel_lin;");
    while (db.DBSTEP(db.DBS()) == SQLITE_ROW) {
      db.SQLICOLGETPOINTS(0, true, geom);
      vertices += static_cast<int64_t>(geom.POINTS.size());
    }
  }
  db.DBCLOSE();
  std::filesystem::remove_all(dir);
  state.SetItemsProcessed(vertices);
}
BENCHMARK(BM_SqliColGetPoints)->Arg(20)->Arg(200);

void BM_Geodist(benchmark::State& state) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> lat(-80000000, 80000000), lon(-180000000, 180000000);
  std::uniform_int_distribution<int32_t> near(-50000, 50000);
  std::vector<std::array<int32_t, 4>> pairs;
  for (int i = 0; i < 1024; ++i) {
    int32_t a = lat(rng), b = lon(rng);
    // Bookmarks are mostly near the user, some far away.
    if (state.range(0) == 0)
      pairs.push_back({a, b, a + near(rng), b + near(rng)});
    else
      pairs.push_back({a, b, lat(rng), lon(rng)});
  }
  size_t i = 0;
  for (auto _ : state) {
    const auto& p = pairs[i++ & 1023];
    benchmark::DoNotOptimize(GEODIST(p[0], p[1], p[2], p[3]));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Geodist)->Arg(0)->Arg(1)->ArgNames({"far"});

void BM_Geoazim(benchmark::State& state) {
  std::mt19937 rng(4);
  std::uniform_int_distribution<int32_t> lat(-80000000, 80000000), lon(-180000000, 180000000);
  std::vector<std::array<int32_t, 4>> pairs;
  for (int i = 0; i < 1024; ++i) pairs.push_back({lat(rng), lon(rng), lat(rng), lon(rng)});
  size_t i = 0;
  for (auto _ : state) {
    const auto& p = pairs[i++ & 1023];
    benchmark::DoNotOptimize(GEOAZIM(p[0], p[1], p[2], p[3]));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Geoazim);

}  // namespace
}  // namespace orvela::map

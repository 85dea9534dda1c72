// The packed spatial index: the same boxes as SQLite's own row-by-row
// inserts would store, in a tree SQLite itself accepts and searches.
#include <gtest/gtest.h>

#include <random>

#include "map/schema.h"
#include "osm/binorvela.h"
#include "osm/rtree_pack.h"
#include "support/sql_rows.h"
#include "support/test_env.h"

namespace orvela::osm {
namespace {

using testing::sql_one;
using testing::sql_rows;

constexpr const char* kCreate = "create virtual table t using rtree(id, minx, maxx, miny, maxy);";

class Pack : public ::testing::Test {
 protected:
  // The same rows into two fresh trees: packed, and inserted one by one.
  void build(const std::vector<RtreeRow>& rows) {
    db.DBCONNECT((dir / "packed.db").string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    db.DBQUERY(kCreate);
    db.DBQUERY("begin;");
    RTREE_PACK(db, "t", rows);
    db.DBQUERY("commit;");
    db.DBCLOSE();
    db.DBCONNECT((dir / "inserted.db").string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    db.DBQUERY(kCreate);
    db.DBQUERY("begin;");
    map::Stmt ins = db.DBPREPARE("insert into t values (?1, ?2, ?3, ?4, ?5);");
    for (const RtreeRow& r : rows) {
      db.DBBINDQWORD(ins, 1, r.id);
      db.DBBINDDOUBLE(ins, 2, r.minx);
      db.DBBINDDOUBLE(ins, 3, r.maxx);
      db.DBBINDDOUBLE(ins, 4, r.miny);
      db.DBBINDDOUBLE(ins, 5, r.maxy);
      db.DBSTEP(ins);
      db.DBRESET(ins);
    }
    ins.reset();
    db.DBQUERY("commit;");
    db.DBCLOSE();
  }
  std::filesystem::path packed() const { return dir / "packed.db"; }
  std::filesystem::path inserted() const { return dir / "inserted.db"; }

  test::TempDir dir;
  map::MapDb db{dir / "errdb.log"};
};

// Values a float cannot hold exactly, on both sides of zero, and the ends of the world.
TEST_F(Pack, StoresTheSameRoundedBoxesAsSqlite) {
  const std::vector<RtreeRow> rows = {
      {1, 1.1, 2.2, -3.3, 4.4},
      {2, -0.1, 0.1, -179.999999, 179.999999},
      {3, 0, 0, 0, 0},
      {4, -180, 180, -90, 90},
      {5, 9.521234, 9.521234, 47.141567, 47.141567},
      {6, -139.997464, -139.997401, -29.998312, -29.998301},
      {7, 1e-6, 2e-6, -2e-6, -1e-6},
  };
  build(rows);
  const std::string all = "select * from t order by id";
  EXPECT_EQ(sql_rows(packed(), all), sql_rows(inserted(), all));
  EXPECT_EQ(sql_one(packed(), "select rtreecheck('t')"), "ok");
}

struct SizeCase {
  size_t rows;
  int depth;  // of the packed tree: 51 cells fit in a node
};

TEST_F(Pack, TreesOfEveryDepthAnswerLikeSqlite) {
  const std::vector<SizeCase> cases = {{0, 0}, {1, 0}, {51, 0}, {52, 1}, {2601, 1}, {2602, 2}};
  std::mt19937 rnd(11);
  std::uniform_real_distribution<double> where(-50, 50), size(0, 2);
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.rows);
    std::vector<RtreeRow> rows;
    for (size_t i = 0; i < c.rows; ++i) {
      double x = where(rnd), y = where(rnd);
      rows.push_back({static_cast<int64_t>(i * 3 + 1), x, x + size(rnd), y, y + size(rnd)});
    }
    build(rows);
    EXPECT_EQ(sql_one(packed(), "select rtreecheck('t')"), "ok");
    EXPECT_EQ(sql_one(packed(), "select count(*) from t"), std::to_string(c.rows));
    EXPECT_EQ(sql_one(packed(), "select hex(substr(data, 1, 2)) from t_node where nodeno=1"),
              c.depth == 0 ? "0000" : "000" + std::to_string(c.depth));
    for (int q = 0; q < 20; ++q) {
      double x = where(rnd), y = where(rnd), s = q * 2.0;
      std::string query = "select id from t where maxx>=" + std::to_string(x) +
                          " and minx<=" + std::to_string(x + s) +
                          " and maxy>=" + std::to_string(y) +
                          " and miny<=" + std::to_string(y + s) + " order by id";
      EXPECT_EQ(sql_rows(packed(), query), sql_rows(inserted(), query)) << query;
    }
    std::filesystem::remove(packed());
    std::filesystem::remove(inserted());
  }
}

// A map with more lines than the writer holds boxes for fills its index row
// by row; the finished index holds the same boxes either way.
TEST(WriterIndex, HeldAndOverflowingBoxesGiveTheSameIndex) {
  test::TempDir dir;
  std::vector<std::vector<testing::Row>> results;
  for (size_t held : {WriterLimits{}.held_boxes, size_t{7}}) {
    map::MapDb db(dir / "errdb.log");
    BinOrvela w(db, {.held_boxes = held});
    auto file = dir / ("w" + std::to_string(held) + ".orvel");
    w.BINORVEL_INIT(file.string());
    for (int i = 1; i <= 300; ++i) {
      w.ORVOBJ.OBJTYPE = "l";
      w.ORVOBJ.ID = static_cast<uint32_t>(i);
      w.ORVOBJ.TYP = "road";
      w.ADDPOINT(1000000 * (i % 17), -2000000 * (i % 13));
      w.ADDPOINT(1000000 * (i % 17) + 1234, -2000000 * (i % 13) - 5678);
      ASSERT_EQ(w.BINORVEL_SAVEREC(), static_cast<uint32_t>(i));
    }
    w.BINORVEL_CLOSE(0);
    EXPECT_EQ(sql_one(file, "select rtreecheck('orvel_linidx')"), "ok");
    results.push_back(sql_rows(file, "select * from orvel_linidx order by id"));
  }
  ASSERT_EQ(results[0].size(), 300u);
  EXPECT_EQ(results[0], results[1]);
}

}  // namespace
}  // namespace orvela::osm

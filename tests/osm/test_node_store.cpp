// Node positions held while a file is read: a bounded memory in front of a
// scratch table, tried with memories far too small for their input so that
// positions must travel to the table and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "osm/node_store.h"
#include "support/test_env.h"

namespace orvela::osm {
namespace {

OSMNODE pos(uint64_t id) {
  return {id, static_cast<int32_t>(id % 180000000) - 90000000, -static_cast<int32_t>(id % 360000)};
}

class Store : public ::testing::Test {
 protected:
  void SetUp() override {
    db.DBCONNECT((dir / "n.db").string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    db.DBQUERY("PRAGMA synchronous=off;");
    db.DBQUERY("begin;");
  }
  test::TempDir dir;
  map::MapDb db{dir / "errdb.log"};
};

struct OrderCase {
  const char* what;
  unsigned cache_bits;
  std::vector<uint64_t> ids;
};

std::vector<uint64_t> ascending(uint64_t first, size_t n, uint64_t step) {
  std::vector<uint64_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = first + i * step;
  return v;
}

TEST_F(Store, EveryPositionComesBackWhateverTheOrderAndMemory) {
  std::vector<uint64_t> shuffled = ascending(1, 5000, 3);
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
  std::vector<uint64_t> descending = ascending(1, 5000, 1);
  std::reverse(descending.begin(), descending.end());
  // Editors number new objects below zero: as unsigned they are the largest ids.
  std::vector<uint64_t> negative;
  for (uint64_t i = 1; i <= 3000; ++i) negative.push_back(0 - i);
  const std::vector<OrderCase> cases = {
      {"ascending, tiny memory", 2, ascending(1, 5000, 1)},
      {"ascending, ids above 32 bits", 4, ascending((1ull << 32) - 100, 5000, 1ull << 20)},
      {"descending, tiny memory", 3, descending},
      {"shuffled, small memory", 6, shuffled},
      {"negative ids", 5, negative},
      {"ascending, room for all", NodeCache::kMaxBits, ascending(1, 20000, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    NodeStore s(db, c.cache_bits);
    s.create_table();
    for (uint64_t id : c.ids) EXPECT_TRUE(s.ADDOSMNODE(pos(id)));
    for (uint64_t id : c.ids) {
      OSMNODE n;
      ASSERT_TRUE(s.GETOSMNODE(id, n)) << id;
      EXPECT_EQ(n.LAT, pos(id).LAT);
      EXPECT_EQ(n.LON, pos(id).LON);
      EXPECT_EQ(n.ID, id);
    }
    if (c.cache_bits < 10) {
      EXPECT_GT(s.spilled(), c.ids.size() / 2);
    } else {
      EXPECT_LT(s.spilled(), c.ids.size() / 10);
    }
    s.finalize();
    db.DBQUERY("drop table osm_nodes;");
  }
}

TEST_F(Store, RepeatedIdKeepsItsFirstPositionInMemoryAndInTheTable) {
  NodeStore s(db, 2);
  s.create_table();
  for (uint64_t id = 1; id <= 1000; ++id) s.ADDOSMNODE(pos(id));
  ASSERT_GT(s.spilled(), 0u);
  // 1 went to the table long ago, 1000 is still in memory.
  for (uint64_t id : {1ull, 500ull, 1000ull}) {
    EXPECT_FALSE(s.ADDOSMNODE({id, 1, 2})) << id;
    OSMNODE n;
    ASSERT_TRUE(s.GETOSMNODE(id, n));
    EXPECT_EQ(n.LAT, pos(id).LAT) << id;
  }
  EXPECT_TRUE(s.ADDOSMNODE({1001, 1, 2}));
}

TEST_F(Store, UnknownIdsAreAllZerosOrSkipped) {
  NodeStore s(db, 2);
  s.create_table();
  OSMNODE n{7, 7, 7};
  EXPECT_FALSE(s.GETOSMNODE(7, n));
  EXPECT_EQ(n.ID, 0u);
  for (uint64_t id = 10; id <= 100; id += 10) s.ADDOSMNODE(pos(id));
  n = {7, 7, 7};
  EXPECT_FALSE(s.GETOSMNODE(55, n));
  EXPECT_EQ(n.LAT, 0);
  EXPECT_EQ(n.LON, 0);
  // A way's references at once: found ones in order, absent ones counted.
  std::vector<uint64_t> refs = {100, 55, 10, 10, 1000, 30};
  std::vector<OSMNODE> found = {{1, 1, 1}};
  EXPECT_EQ(s.get_many(refs, found), 2u);
  std::vector<uint64_t> ids;
  for (const OSMNODE& f : found) ids.push_back(f.ID);
  EXPECT_EQ(ids, (std::vector<uint64_t>{100, 10, 10, 30}));
  EXPECT_EQ(found[3].LAT, pos(30).LAT);
}

// The memory grows in steps while it fills: every position is either still
// held after the growths or was handed out, and most are held.
TEST(NodeCacheGrowth, KeepsOrHandsOutEveryPosition) {
  NodeCache c;
  std::vector<OSMNODE> spilled;
  std::vector<uint64_t> ids(300000);
  std::iota(ids.begin(), ids.end(), 1);
  std::shuffle(ids.begin(), ids.end(), std::mt19937(3));
  for (uint64_t id : ids) c.put(pos(id), [&](const OSMNODE& n) { spilled.push_back(n); });
  size_t found = 0;
  for (uint64_t id : ids) {
    OSMNODE n;
    if (c.get(id, n) && n.LAT == pos(id).LAT && n.LON == pos(id).LON) ++found;
  }
  for (const OSMNODE& n : spilled) {
    OSMNODE held;
    EXPECT_FALSE(c.get(n.ID, held)) << n.ID;
    EXPECT_EQ(n.LAT, pos(n.ID).LAT);
  }
  EXPECT_EQ(found + spilled.size(), ids.size());
  EXPECT_LT(spilled.size(), ids.size() / 20);
}

}  // namespace
}  // namespace orvela::osm

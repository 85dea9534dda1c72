// Thinning the soundscape template: the inside of a run or area of one
// sound keeps only some edge cells, the row and column through the user
// keep everything.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "sound/template_thinning.h"

namespace orvela::sound {
namespace {

using Cells = std::set<std::pair<int, int>>;

Cells block(int x0, int x1, int y0, int y1) {
  Cells c;
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y) c.insert({x, y});
  return c;
}

struct ThinCase {
  const char* name;
  int range;
  Cells sound_a;   // cells carrying sound "a"
  Cells sound_b;   // cells carrying sound "b"
  Cells expected;  // cells still carrying a sound afterwards
};

class Thinning : public testing::TestWithParam<ThinCase> {};

TEST_P(Thinning, KeepsTheExpectedCells) {
  const ThinCase& c = GetParam();
  SoundscapeTemplate t;
  for (auto [x, y] : c.sound_a) t.at(x, y).FNAME = "a";
  for (auto [x, y] : c.sound_b) t.at(x, y).FNAME = "b";
  SOUNDSCAPEOPTIMIZE(t, c.range);
  Cells left;
  for (int x = -10; x <= 10; ++x)
    for (int y = -10; y <= 10; ++y)
      if (!t.at(x, y).FNAME.empty()) left.insert({x, y});
  EXPECT_EQ(left, c.expected);
  // A cell that keeps its sound keeps the sound it had.
  for (auto [x, y] : left) EXPECT_EQ(t.at(x, y).FNAME, c.sound_a.count({x, y}) ? "a" : "b");
}

INSTANTIATE_TEST_SUITE_P(
    Templates, Thinning,
    testing::Values(
        // A filled 3 x 3 block away from the user's row and column: the
        // middle of every side and the centre go, the corners stay.
        ThinCase{"BlockOffAxis", 10, block(1, 3, 1, 3), {}, {{1, 1}, {1, 3}, {3, 1}, {3, 3}}},
        ThinCase{"BlockSouthWest",
                 10,
                 block(-6, -4, -8, -6),
                 {},
                 {{-6, -8}, {-6, -6}, {-4, -8}, {-4, -6}}},
        // Centred on the user's row: the row keeps every cell.
        ThinCase{"BlockOnUserRow",
                 10,
                 block(1, 3, -1, 1),
                 {},
                 {{1, -1}, {1, 0}, {1, 1}, {2, 0}, {3, -1}, {3, 0}, {3, 1}}},
        ThinCase{"BlockOnUserColumn",
                 10,
                 block(-1, 1, 4, 6),
                 {},
                 {{-1, 4}, {-1, 6}, {0, 4}, {0, 5}, {0, 6}, {1, 4}, {1, 6}}},
        // A run: a cleared cell no longer counts as an equal neighbour, so
        // every other cell stays; the column through the user stays.
        ThinCase{"RunEastWest",
                 10,
                 block(-5, 5, 2, 2),
                 {},
                 {{-5, 2}, {-3, 2}, {-1, 2}, {0, 2}, {2, 2}, {4, 2}, {5, 2}}},
        ThinCase{"RunSouthNorth",
                 10,
                 block(-3, -3, -5, 5),
                 {},
                 {{-3, -5}, {-3, -3}, {-3, -1}, {-3, 0}, {-3, 2}, {-3, 4}, {-3, 5}}},
        ThinCase{
            "RunDiagonal", 10, Cells{{1, 1}, {2, 2}, {3, 3}, {4, 4}}, {}, {{1, 1}, {3, 3}, {4, 4}}},
        ThinCase{"RunOtherDiagonal",
                 10,
                 Cells{{1, 4}, {2, 3}, {3, 2}, {4, 1}},
                 {},
                 {{1, 4}, {3, 2}, {4, 1}}},
        // The user's own row and column are never thinned.
        ThinCase{"UserRowAndColumn", 10, block(-10, 10, 0, 0), block(0, 0, 1, 10),
                 [] {
                   Cells c = block(-10, 10, 0, 0);
                   for (auto p : block(0, 0, 1, 10)) c.insert(p);
                   return c;
                 }()},
        // Different sounds side by side are all kept.
        ThinCase{"Alternating", 10, Cells{{1, 3}, {3, 3}}, Cells{{2, 3}}, {{1, 3}, {2, 3}, {3, 3}}},
        // The outermost ring of the range is never cleared; cells beyond it
        // are not looked at.
        ThinCase{
            "RangeEdge", 3, block(-3, 3, 2, 2), {}, {{-3, 2}, {-1, 2}, {0, 2}, {2, 2}, {3, 2}}},
        ThinCase{"RangeOne", 1, block(-1, 1, -1, 1), {}, block(-1, 1, -1, 1)}),
    [](const testing::TestParamInfo<ThinCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace orvela::sound

// The bookmark list and its commands, on a small map walked by the real
// explorer, with the person's answers fed to the console front end.
#include <gtest/gtest.h>

#include <fstream>

#include "bookmark_world.h"
#include "map/geo.h"

namespace orvela::bookmarks {
namespace {

using test::BookmarkWorld;
using Lines = std::vector<std::string>;

constexpr double kStreet = 72.5;  // column of a Main street cell on row 75

TEST(BookmarkList, EmptyListAnswersWithoutADialog) {
  BookmarkWorld w;
  int32_t n = 0;
  ARRLOC none;
  EXPECT_EQ(w.bm.GETBOOKMARKATXY(75.5, 75.5), -1);
  EXPECT_EQ(w.bm.GETNEARESTBOOKMARK(), -1);
  EXPECT_FALSE(w.bm.SELECTBOOKMARK(n, true, "t", "p"));
  EXPECT_EQ(w.bm.SELECTLOC(none, true, "t", "p"), std::nullopt);
  EXPECT_TRUE(w.take_out().empty());
}

TEST(BookmarkList, NewBookmarkIsProposedTheCellsDescriptionNumbered) {
  BookmarkWorld w(":default\n:default\n:default\n");
  w.add_at(kStreet, 75.5);
  w.add_at(75.5, 85.5);  // the café
  w.add_at(60.5, 60.5);  // nothing there
  EXPECT_EQ(w.take_out(), (Lines{"INPUT Enter bookmark: Bookmark name [1. Main street]",
                                 "INPUT Enter bookmark: Bookmark name [2. restaurant Cafe Linde]",
                                 "INPUT Enter bookmark: Bookmark name [3. Point]"}));
  EXPECT_EQ(w.names(), (Lines{"1. Main street", "2. restaurant Cafe Linde", "3. Point"}));
  EXPECT_TRUE(w.bm.BOOKMARKSMODIFIED());
  // Made where the user stood: the coordinates, and the cell itself.
  const LOCATION& last = w.bm.BOOKMARKS().back();
  EXPECT_EQ(last.LAT, w.user.ULAT);
  EXPECT_EQ(last.LON, w.user.ULON);
  EXPECT_EQ(last.X, 60.0);
  EXPECT_EQ(last.Y, 60.0);
  EXPECT_EQ(w.bm.GETBOOKMARKATXY(60.99, 60.01), 2);
  EXPECT_EQ(w.bm.GETBOOKMARKATXY(61.0, 60.5), -1);
}

TEST(BookmarkList, ABookmarkIsAnnouncedInsteadOfTheRoadUnderIt) {
  BookmarkWorld w("Home\n");
  w.add_at(kStreet, 75.5);
  w.stand(kStreet - 1, 75.5);
  w.take_out();
  w.ex.SETUDIR(90);
  w.ex.UDIRMOVE(0);
  w.ex.UDIRMOVE(0);
  // The road under the bookmark is not named; the next cell of it is.
  EXPECT_EQ(w.said(),
            (Lines{"Bookmark Home", "Main street direction 90 degrees to the right  of north"}));
}

TEST(BookmarkList, EditRenamesAndRefusesAnEmptyName) {
  struct Case {
    const char* answer;
    const char* name_after;
    Lines out;
  };
  const Case cases[] = {
      {"  Home  \n", "Home", {"INPUT Edit bookmark: Bookmark name [1. Main street]"}},
      {"   \n",
       "1. Main street",
       {"INPUT Edit bookmark: Bookmark name [1. Main street]", "INFO No bookmark name entered"}},
      {":cancel\n", "1. Main street", {"INPUT Edit bookmark: Bookmark name [1. Main street]"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    BookmarkWorld w(std::string(":default\n") + c.answer);
    w.add_at(kStreet, 75.5);
    const LOCATION before = w.bm.BOOKMARKS()[0];
    w.take_out();
    w.stand(kStreet + 0.3, 75.2);  // the same cell
    w.bm.BOOKMARKEDIT(false);
    EXPECT_EQ(w.take_out(), c.out);
    ASSERT_EQ(w.bm.BOOKMARKS().size(), 1u);
    EXPECT_EQ(w.bm.BOOKMARKS()[0].NAME, c.name_after);
    EXPECT_EQ(w.bm.BOOKMARKS()[0].LAT, before.LAT);
    EXPECT_EQ(w.bm.BOOKMARKS()[0].LON, before.LON);
  }
}

TEST(BookmarkList, TwoOnOneCellTheEarlierIsEditedAndDeleted) {
  BookmarkWorld w("renamed\ny\n");
  // A loaded list can put two bookmarks on one cell.
  int32_t lat1 = 0, lon1 = 0, lat2 = 0, lon2 = 0;
  w.grid.YXTOLATLON(80.2, 80.2, lat1, lon1);
  w.grid.YXTOLATLON(80.8, 80.7, lat2, lon2);
  std::ofstream(w.tmp / "two.lscp", std::ios::binary)
      << "#!lscp\r\n"
      << lat1 * 10 << "," << lon1 * 10 << ",\"first\",1\r\n"
      << lat2 * 10 << "," << lon2 * 10 << ",\"second\",1\r\n";
  w.bm.load_file(w.tmp / "two.lscp");
  w.stand(80.5, 80.5);
  EXPECT_EQ(w.bm.GETBOOKMARKATXY(80.9, 80.1), 0);
  w.bm.BOOKMARKEDIT(false);
  EXPECT_EQ(w.names(), (Lines{"renamed", "second"}));
  w.bm.BOOKMARKDEL(false);
  EXPECT_EQ(w.names(), Lines{"second"});
  EXPECT_EQ(w.bm.GETBOOKMARKATXY(80.5, 80.5), 0);
}

TEST(BookmarkList, QuietToggleAddsThenRemovesWithoutAQuestion) {
  BookmarkWorld w;
  w.stand(kStreet, 75.5);
  w.bm.BOOKMARKEDIT(true);
  EXPECT_EQ(w.names(), Lines{"1. Main street"});
  w.bm.BOOKMARKEDIT(true);
  EXPECT_TRUE(w.bm.BOOKMARKS().empty());
  EXPECT_TRUE(w.take_out().empty());
}

TEST(BookmarkList, DeleteAsksAndAnEmptiedListBelongsToNoFile) {
  BookmarkWorld w("A\nB\nn\ny\ny\n");
  w.add_at(60.5, 60.5);
  w.add_at(70.5, 60.5);
  w.stand(65.5, 60.5);
  w.take_out();
  w.bm.BOOKMARKDEL(false);
  EXPECT_EQ(w.take_out(), Lines{"INFO No bookmark here."});
  w.stand(60.5, 60.5);
  w.bm.BOOKMARKDEL(false);  // no
  w.bm.BOOKMARKDEL(false);  // yes
  EXPECT_EQ(w.take_out(), (Lines{"ASK Delete bookmark A?", "ASK Delete bookmark A?"}));
  EXPECT_EQ(w.names(), Lines{"B"});
  EXPECT_TRUE(w.bm.BOOKMARKSMODIFIED());  // the deletion is a change to save
  w.stand(70.5, 60.5);
  w.bm.BOOKMARKDEL(false);
  EXPECT_TRUE(w.bm.BOOKMARKS().empty());
  EXPECT_FALSE(w.bm.BOOKMARKSMODIFIED());
  EXPECT_TRUE(w.bm.LASTBOOKMARKSFN().empty());
}

TEST(BookmarkList, DeleteAllAsksWithNoPreselected) {
  BookmarkWorld w("A\nB\n\ny\n");
  w.add_at(60.5, 60.5);
  w.add_at(70.5, 60.5);
  w.take_out();
  w.bm.BOOKMARKDELALL();  // the empty answer takes the default: No
  EXPECT_EQ(w.bm.BOOKMARKS().size(), 2u);
  w.bm.BOOKMARKDELALL();
  EXPECT_TRUE(w.bm.BOOKMARKS().empty());
  EXPECT_FALSE(w.bm.BOOKMARKSMODIFIED());
  EXPECT_EQ(w.take_out(), (Lines{"ASK Delete all bookmarks 2?", "ASK Delete all bookmarks 2?"}));
}

TEST(BookmarkList, TooFewBookmarksAreSaidAndNothingIsAsked) {
  struct Case {
    void (Bookmarks::*op)();
    const char* said;
  };
  const Case cases[] = {
      {&Bookmarks::BOOKMARKDELALL, "At least 1 bookmarks required to perform this operation"},
      {&Bookmarks::BOOKMARKGOTO, "At least 1 bookmarks required to perform this operation"},
      {&Bookmarks::BOOKMARKRENUMBER, "At least 1 bookmarks required to perform this operation"},
      {&Bookmarks::BOOKMARKMOVE, "At least 2 bookmarks required to perform this operation"},
      {&Bookmarks::BOOKMARKSORTNUM, "At least 2 bookmarks required to perform this operation"},
      {&Bookmarks::BOOKMARKDISTANCESUM, "At least 2 bookmarks required to perform this operation"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    BookmarkWorld w(":default\n");
    if (std::string(c.said).find('2') != std::string::npos) w.add_at(60.5, 60.5);
    w.take_out();
    (w.bm.*c.op)();
    EXPECT_EQ(w.take_out(), Lines{std::string("SAY ") + c.said});
  }
}

TEST(BookmarkList, WithoutAMapEditDeleteGoToAndLoadStop) {
  for (auto op : {&Bookmarks::BOOKMARKGOTO, &Bookmarks::LOADBOOKMARKS}) {
    BookmarkWorld w("", false);
    (w.bm.*op)();
    EXPECT_EQ(w.take_out(), Lines{"SAY No map selected."});
  }
  for (auto op : {&Bookmarks::BOOKMARKEDIT, &Bookmarks::BOOKMARKDEL}) {
    BookmarkWorld w("", false);
    (w.bm.*op)(false);
    EXPECT_EQ(w.take_out(), Lines{"SAY No map selected."});
  }
}

// East and west of the user at the same distance: the earlier is nearest.
TEST(BookmarkList, ListLinesTellDistanceAndDirectionAndTheNearestIsPreselected) {
  BookmarkWorld w("far\nwest\neast\n2\ny\n");
  w.add_at(95.5, 75.5);
  w.add_at(72.5, 75.5);
  w.add_at(78.5, 75.5);
  w.stand(75.5, 75.5);
  w.user.BOOKMARKSUPOSCHANGED = true;
  EXPECT_EQ(w.bm.GETNEARESTBOOKMARK(), 1);
  const LOCATION& west = w.bm.BOOKMARKS()[1];
  const LOCATION& east = w.bm.BOOKMARKS()[2];
  EXPECT_EQ(west.UDIST, east.UDIST);
  EXPECT_NEAR(west.UDIST, 30, 1);
  EXPECT_EQ(west.UAZIM, 270);
  EXPECT_EQ(east.UAZIM, 90);
  w.take_out();
  w.bm.BOOKMARKGOTO();
  const std::string d = std::to_string(west.UDIST) + " metres ";
  EXPECT_EQ(w.take_out(),
            (Lines{"LIST Go to bookmark: Select bookmark",
                   "  1. far " + std::to_string(w.bm.BOOKMARKS()[0].UDIST) +
                       " metres 90 degrees to the right  of north",
                   "* 2. west " + d + "90 degrees to the left  of north",
                   "  3. east " + d + "90 degrees to the right  of north",
                   "ASK Do you want to jump " + d + "90 degrees to the left  of north?",
                   "TITLE Orvela test", "SAY Bookmark west"}));
  EXPECT_EQ(w.user.ULAT, west.LAT);
  EXPECT_EQ(w.user.ULON, west.LON);
}

TEST(BookmarkList, WithThePositionUnknownLinesAreNamesOnly) {
  BookmarkWorld w("A\nB\n");
  w.add_at(60.5, 60.5);
  w.add_at(70.5, 60.5);
  w.user.ULATLONSET = false;
  w.take_out();
  int32_t n = 1;
  EXPECT_FALSE(w.bm.SELECTBOOKMARK(n, false, "Title", "Prompt"));
  EXPECT_EQ(w.take_out(), (Lines{"LIST Title: Prompt", "  1. A", "* 2. B"}));
  EXPECT_TRUE(w.user.BOOKMARKSUPOSCHANGED);  // not recomputed
}

TEST(BookmarkList, MoveLandsBeforeTheChosenEntryOrLast) {
  struct Case {
    const char* answers;  // source, destination (5: "End of list")
    Lines after;
  };
  const Case cases[] = {
      {"1\n5\n", {"B", "C", "D", "A"}},  // first to the end: last
      {"1\n2\n", {"A", "B", "C", "D"}},  // onto the next: nothing changes
      {"1\n1\n", {"A", "B", "C", "D"}},
      {"4\n1\n", {"D", "A", "B", "C"}},
      {"2\n4\n", {"A", "C", "B", "D"}},
      {"1\n5\n1\n3\n", {"C", "B", "D", "A"}},  // moves go on until cancelled
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    orvela::test::TempDir dir;
    BookmarkWorld w("A\nB\nC\nD\n" + (dir / "b.lscp").string() + "\n" + c.answers);
    for (double x : {60.5, 62.5, 64.5, 66.5}) w.add_at(x, 60.5);
    ASSERT_TRUE(w.bm.SAVEBOOKMARKS(false));
    w.bm.BOOKMARKMOVE();
    EXPECT_EQ(w.names(), c.after);
    EXPECT_EQ(w.bm.BOOKMARKSMODIFIED(), c.after != Lines({"A", "B", "C", "D"}));
  }
}

TEST(BookmarkList, SortByLeadingNumberKeepsTheOrderOfEqualNumbers) {
  BookmarkWorld w("10. A\n2. B\nC\n0 D\ny\n");
  for (double x : {60.5, 62.5, 64.5, 66.5}) w.add_at(x, 60.5);
  w.bm.BOOKMARKSORTNUM();
  EXPECT_EQ(w.names(), (Lines{"C", "0 D", "2. B", "10. A"}));
}

TEST(BookmarkList, RenumberReplacesLeadingNumbers) {
  struct Case {
    const char* start;
    Lines before, after;
  };
  const Case cases[] = {
      {"5", {"A", "3. B"}, {"5. A", "6. B"}},
      {"1", {"7. Park", "Park", "12.Park", "12"}, {"1. Park", "2. Park", "3.Park", "4. "}},
      {"0", {"A"}, {"A"}},
      {"x", {"A"}, {"A"}},
      {":cancel", {"A"}, {"A"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    std::string answers;
    for (const auto& n : c.before) answers += n + "\n";
    BookmarkWorld w(answers + c.start + "\n");
    double x = 60.5;
    for (std::size_t i = 0; i < c.before.size(); ++i, x += 2) w.add_at(x, 60.5);
    w.take_out();
    w.bm.BOOKMARKRENUMBER();
    EXPECT_EQ(w.names(), c.after);
    Lines out = w.take_out();
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out[0], "INPUT Renumber bookmarks: Target number of first bookmark [1]");
    if (c.start == std::string("0") || c.start == std::string("x")) {
      EXPECT_EQ(out.back(), "INFO Positive integer expected.");
    }
  }
}

TEST(BookmarkList, DistanceSumFollowsTheListWithoutReturning) {
  BookmarkWorld w("A\nB\nC\n");
  w.add_at(60.5, 60.5);
  w.add_at(100.5, 60.5);
  w.add_at(100.5, 90.5);
  w.take_out();
  w.bm.BOOKMARKDISTANCESUM();
  const ARRLOC& l = w.bm.BOOKMARKS();
  const int32_t sum = map::GEODIST(l[0].LAT, l[0].LON, l[1].LAT, l[1].LON) +
                      map::GEODIST(l[1].LAT, l[1].LON, l[2].LAT, l[2].LON);
  EXPECT_NEAR(sum, 700, 10);
  EXPECT_EQ(w.take_out(),
            Lines{"INFO Bookmarks distance sum: " + std::to_string(sum) + " metres."});
}

TEST(BookmarkList, SelectLocSortsByDistanceFromTheUser) {
  BookmarkWorld w("\n");
  w.stand(75.5, 75.5);
  ARRLOC results(3);
  const int xs[] = {95, 80, 85};
  for (int i = 0; i < 3; ++i) {
    results[static_cast<std::size_t>(i)].NAME = "R" + std::to_string(i);
    w.grid.YXTOLATLON(75.5, xs[i] + 0.5, results[static_cast<std::size_t>(i)].LAT,
                      results[static_cast<std::size_t>(i)].LON);
  }
  const auto chosen = w.bm.SELECTLOC(results, true, "Points", "Select point");
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->NAME, "R1");
  EXPECT_EQ(results[0].NAME, "R1");
  EXPECT_EQ(results[2].NAME, "R0");
  EXPECT_LT(results[0].UDIST, results[1].UDIST);
}

}  // namespace
}  // namespace orvela::bookmarks

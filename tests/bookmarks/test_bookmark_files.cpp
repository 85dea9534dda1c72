// Saving and loading the list, the last file on the clipboard and in the
// file manager, and the start position: through the bookmark commands, with
// real files in a scratch folder.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>

#include "bookmark_world.h"
#include "bookmarks/loadstone.h"
#include "read_text.h"
#include "sound/grid_cells.h"
#include "support/small_disk.h"

namespace orvela::bookmarks {
namespace {

namespace fs = std::filesystem;
using test::BookmarkWorld;
using Lines = std::vector<std::string>;

using orvela::test::file_bytes;

const std::string kSaveLscp =
    "FILE Save bookmarks [Loadstone Checkpoints file *.lscp|*.lscp|GPX waypoints *.gpx|*.gpx]";
const std::string kLoad =
    "FILE Load bookmarks [Loadstone checkpoints or database text files *.lscp, *.txt, "
    "*.lsdbtxt|*.lscp;*.txt;*.lsdbtxt|GPX waypoints *.gpx|*.gpx]";

TEST(BookmarkFiles, APlainSaveAfterALoadAsksAfterSaveAsWritesSilently) {
  orvela::test::TempDir dir;
  const fs::path a = dir / "a.lscp", b = dir / "b";
  BookmarkWorld w("A\n" + a.string() + "\n" + a.string() + "\n" + b.string() + "\n");
  w.add_at(60.5, 60.5);
  w.take_out();
  ASSERT_TRUE(w.bm.SAVEBOOKMARKS(true));  // nothing saved yet: asks
  EXPECT_FALSE(w.bm.BOOKMARKSMODIFIED());
  ASSERT_TRUE(w.bm.SAVEBOOKMARKS(true));  // silently to a.lscp
  EXPECT_EQ(w.take_out(), Lines{kSaveLscp});
  w.bm.LOADBOOKMARKS();
  EXPECT_EQ(w.take_out(), (Lines{kLoad, "INFO 0 added, 1 ignored."}));
  EXPECT_EQ(w.bm.LASTBOOKMARKSFN(), a);
  EXPECT_TRUE(w.bm.LASTSAVEDBOOKMARKSFN().empty());
  ASSERT_TRUE(w.bm.SAVEBOOKMARKS(true));  // after a load: asks again
  EXPECT_EQ(w.take_out(), Lines{kSaveLscp});
  // The name without an extension gets the format's.
  EXPECT_EQ(w.bm.LASTSAVEDBOOKMARKSFN(), dir / "b.lscp");
  EXPECT_EQ(file_bytes(dir / "b.lscp"), file_bytes(a));
}

TEST(BookmarkFiles, TheNameChoosesGpxTheSettingChoosesTheLoadstoneFormat) {
  struct Case {
    int format;
    const char* name;
    const char* starts;
  };
  const Case cases[] = {
      {BMFORMAT_LSCP, "x.lscp", "#!lscp\r\n"},
      {BMFORMAT_LSDB, "x.lsdbtxt", "#!lsdb\r\ntable,point\r\n"},
      {BMFORMAT_LSCP, "x.GPX", "<?xml"},
      {BMFORMAT_LSDB, "x.gpx", "<?xml"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    orvela::test::TempDir dir;
    BookmarkWorld w("Home\n" + (dir / c.name).string() + "\n");
    w.bset.BOOKMARKSAVEFORMAT = c.format;
    w.add_at(60.5, 60.5);
    ASSERT_TRUE(w.bm.SAVEBOOKMARKS(false));
    EXPECT_TRUE(file_bytes(dir / c.name).starts_with(c.starts)) << file_bytes(dir / c.name);
    // And back: the same place and name.
    BookmarkWorld again;
    again.bm.load_file(dir / c.name);
    ASSERT_EQ(again.bm.BOOKMARKS().size(), 1u);
    EXPECT_EQ(again.bm.BOOKMARKS()[0].NAME, "Home");
    EXPECT_EQ(again.bm.BOOKMARKS()[0].LAT, w.bm.BOOKMARKS()[0].LAT);
    EXPECT_EQ(again.bm.BOOKMARKS()[0].LON, w.bm.BOOKMARKS()[0].LON);
  }
}

TEST(BookmarkFiles, NothingToSaveAndCancelledSaves) {
  BookmarkWorld w("A\n:cancel\n");
  w.bm.SAVEBOOKMARKS(false);
  EXPECT_EQ(w.take_out(), Lines{"INFO No bookmarks defined."});
  w.add_at(60.5, 60.5);
  w.take_out();
  EXPECT_FALSE(w.bm.SAVEBOOKMARKS(true));
  EXPECT_TRUE(w.bm.BOOKMARKSMODIFIED());
  EXPECT_TRUE(w.bm.LASTBOOKMARKSFN().empty());
}

// The operating system refuses to let the file grow: the save fails half
// way, and the file saved before is still whole.
TEST(BookmarkFiles, AFailedWriteKeepsTheOldFileAndSaysSo) {
  orvela::test::TempDir dir;
  const fs::path file = dir / "b.lscp";
  BookmarkWorld w("A\n" + file.string() + "\n");
  w.add_at(60.5, 60.5);
  ASSERT_TRUE(w.bm.SAVEBOOKMARKS(false));
  const std::string saved = file_bytes(file);
  for (int i = 0; i < 200; ++i) {
    w.stand(60.5 + (i % 40) * 2, 62.5 + (i / 40) * 2);
    w.bm.BOOKMARKEDIT(true);
  }
  w.take_out();
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = w.bm.SAVEBOOKMARKS(true);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(w.take_out(), Lines{"INFO Error saving bookmarks file " + file.string() +
                                ": File too large. The old file is kept."});
  EXPECT_EQ(file_bytes(file), saved);
  EXPECT_TRUE(w.bm.BOOKMARKSMODIFIED());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(BookmarkFiles, LoadedPointsAreCountedPlacedAndHeardOnTheirCells) {
  BookmarkWorld w;
  int32_t lat = 0, lon = 0;
  w.grid.YXTOLATLON(80.5, 80.5, lat, lon);
  std::ofstream(w.tmp / "p.lsdbtxt", std::ios::binary)
      << "\xEF\xBB\xBF#!lsdb\r\ntable,point\r\n"
      << LS_FIELDSETHEADER << "\r\n\"Fountain\"," << degrees_text(lat) << "," << degrees_text(lon)
      << ",1,0,0,1,1\r\nbroken line\r\n\"Again\"," << degrees_text(lat) << "," << degrees_text(lon)
      << ",1";
  w.bm.load_file(w.tmp / "p.lsdbtxt");
  EXPECT_EQ(w.take_out(), Lines{"INFO 1 added, 2 ignored."});
  EXPECT_FALSE(w.bm.BOOKMARKSMODIFIED());
  EXPECT_EQ(w.bm.GETBOOKMARKATXY(80.5, 80.5), 0);
  w.stand(80.5, 79.5);
  w.ex.SETUDIR(0);
  w.ex.UDIRMOVE(0);
  EXPECT_EQ(w.said(), Lines{"Bookmark Fountain"});
  // What the soundscape hears on that cell: the bookmark.
  sound::GridCells cells(w.grid, w.user,
                         [&w](double x, double y) { return w.bm.GETBOOKMARKATXY(x, y); });
  EXPECT_EQ(cells.GETMAPARELATIVE(0, 0).bookmark, 0);
  EXPECT_EQ(cells.GETMAPARELATIVE(1, 0).bookmark, -1);
}

TEST(BookmarkFiles, AFileThatCannotBeUsedChangesNothing) {
  struct Case {
    const char* content;
    const char* said;
  };
  const Case cases[] = {
      {"<gpx>", "INFO Not supported file format."},
      {"\x7f"
       "ELF\x02\x01\x01",
       "INFO Not supported file format."},
  };
  for (const Case& c : cases) {
    BookmarkWorld w("A\n");
    w.add_at(60.5, 60.5);
    w.take_out();
    std::ofstream(w.tmp / "x.lscp", std::ios::binary) << c.content;
    w.bm.load_file(w.tmp / "x.lscp");
    EXPECT_EQ(w.take_out(), Lines{c.said});
    EXPECT_EQ(w.names(), Lines{"A"});
    EXPECT_EQ(w.bm.LASTBOOKMARKSFN(), w.tmp / "x.lscp");
  }
  BookmarkWorld w;
  w.bm.load_file(w.tmp.path());
  EXPECT_EQ(w.take_out(), Lines{"INFO Can not read file " + w.tmp.path().string() + "."});
}

TEST(BookmarkFiles, TheLastFileGoesToTheClipboardAndTheFileManager) {
  orvela::test::TempDir dir;
  BookmarkWorld w("A\n" + (dir / "My Points.lscp").string() + "\nn\ny\n");
  w.bm.CLIPCPYBOOKMARKSFILE();
  w.bm.OPENBOOKMARKSFOLDER();
  EXPECT_EQ(w.take_out(),
            (Lines{"INFO No bookmarks file defined.", "INFO No bookmarks file defined."}));
  w.add_at(60.5, 60.5);
  ASSERT_TRUE(w.bm.SAVEBOOKMARKS(false));
  w.take_out();
  w.bm.CLIPCPYBOOKMARKSFILE();
  w.bm.OPENBOOKMARKSFOLDER();
  w.bm.OPENBOOKMARKSFOLDER();
  EXPECT_EQ(
      w.take_out(),
      (Lines{"CLIPBOARD " + (dir / "My Points.lscp").string(),
             "INFO File My Points.lscp copied to clipboard. You can paste it to destination "
             "location in the file explorer.",
             "ASK Open folder containing last bookmarks file?",
             "ASK Open folder containing last bookmarks file?", "OPEN " + dir.path().string()}));
}

TEST(StartPosition, SavedAndOpenedAgainAtStart) {
  BookmarkWorld w("y\n");
  w.stand(80.5, 70.5);
  w.bm.SAVESTARTPOS();
  EXPECT_EQ(w.take_out(), Lines{"ASK Save current map position as default at startup?"});
  const fs::path file = w.tmp / "orvela.start";
  EXPECT_EQ(file_bytes(file), "test.orvel\r\n" + std::to_string(w.user.ULAT) + " " +
                                  std::to_string(w.user.ULON) + "\r\n");
  // A fresh start with nothing loaded, in the same home.
  BookmarkWorld next("", false);
  fs::copy_file(w.map_path(), next.map_path());
  fs::copy_file(file, next.tmp / "orvela.start");
  next.user.ULATLONSET = false;
  ASSERT_TRUE(next.bm.READSTARTPOS());
  EXPECT_EQ(next.loader.FN(), next.map_path().string());
  EXPECT_EQ(next.user.ULAT, w.user.ULAT);
  EXPECT_EQ(next.user.ULON, w.user.ULON);
  EXPECT_EQ(next.take_out(), Lines{"TITLE Orvela test"});
}

TEST(StartPosition, FullDiskKeepsThePreviousPositionAndSaysWhy) {
  orvela::test::SmallDisk disk;
  ASSERT_EQ(disk.error(), "");
  BookmarkWorld w("y\n");
  w.stand(80.5, 70.5);
  std::ofstream(disk / "orvela.start") << "previous";
  disk.fill();
  Bookmarks bm(w.user, w.grid, w.loader, w.console.ui, w.messages, w.tables, w.bset,
               disk / "orvela.start");
  bm.SAVESTARTPOS();
  EXPECT_EQ(w.take_out(),
            (Lines{"ASK Save current map position as default at startup?",
                   "INFO Error saving start position file: No space left on device"}));
  EXPECT_EQ(file_bytes(disk / "orvela.start"), "previous");
  EXPECT_EQ(std::distance(fs::directory_iterator(disk.path()), fs::directory_iterator()), 2);
}

TEST(StartPosition, NoAnswerNoMapOrNoPlaceToWrite) {
  BookmarkWorld w("n\ny\n");
  w.bm.SAVESTARTPOS();
  EXPECT_FALSE(fs::exists(w.tmp / "orvela.start"));
  // The home's folder for it is a file: the position cannot be written.
  BookmarkWorld blocked("y\n");
  std::ofstream(blocked.tmp / "blocker") << "x";
  Bookmarks bm(blocked.user, blocked.grid, blocked.loader, blocked.console.ui, blocked.messages,
               blocked.tables, blocked.bset, blocked.tmp / "blocker" / "orvela.start");
  bm.SAVESTARTPOS();
  EXPECT_EQ(blocked.take_out(), (Lines{"ASK Save current map position as default at startup?",
                                       "INFO Error saving start position file: Not a directory"}));
  BookmarkWorld nomap("", false);
  nomap.bm.SAVESTARTPOS();
  EXPECT_EQ(nomap.take_out(), Lines{"SAY No map selected."});
}

// A real map lies right outside the maps folder; the file names it in every
// way that leads there, and it is never opened.
TEST(StartPosition, AMapOutsideTheMapsFolderIsNeverOpened) {
  BookmarkWorld probe;
  const fs::path outside = probe.tmp / "outside.orvel";
  fs::copy_file(probe.map_path(), outside);
  for (const std::string& name :
       {std::string("../outside.orvel"), outside.string(), std::string("..\\outside.orvel"),
        std::string("sub/../../outside.orvel")}) {
    SCOPED_TRACE(name);
    BookmarkWorld w("", false);
    fs::copy_file(outside, w.tmp / "outside.orvel");
    std::ofstream(w.tmp / "orvela.start")
        << (name == outside.string() ? (w.tmp / "outside.orvel").string() : name)
        << "\n47141000 9521000\n";
    w.user.ULATLONSET = false;
    EXPECT_FALSE(w.bm.READSTARTPOS());
    EXPECT_TRUE(w.loader.FN().empty());
    EXPECT_FALSE(w.user.ULATLONSET);
  }
  BookmarkWorld w("", false);
  EXPECT_FALSE(w.bm.READSTARTPOS());  // no file: nothing at all
  EXPECT_TRUE(w.take_out().empty());
}

}  // namespace
}  // namespace orvela::bookmarks

// The Loadstone formats: what is written, and what is read from real
// exports, from our own files and from damaged ones.
#include <gtest/gtest.h>

#include <fstream>

#include "bookmarks/bookmark_settings.h"
#include "bookmarks/loadstone.h"
#include "read_text.h"
#include "support/test_env.h"

namespace orvela::bookmarks {
namespace {

namespace fs = std::filesystem;
using orvela::test::TempDir;

using orvela::test::file_bytes;
using test::at;

test::Read load_text(const std::string& content, ARRLOC list = {}) {
  return test::read_text(read_loadstone, content, std::move(list));
}

TEST(Loadstone, CleanedNamesKeepLettersDigitsCommasStopsAndNonAscii) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"St. Mary's (old) - gate", "St. Mary s old gate"},
      {"  \"quoted\"\t,x  ", "quoted ,x"},
      {"Trg bana Jela\xC4\x8Di\xC4\x87"
       "a 1,2.",
       "Trg bana Jela\xC4\x8Di\xC4\x87"
       "a 1,2."},
      {"!!!", ""},
      // Cut to 255 bytes without splitting the two-byte letter at the edge.
      {std::string(254, 'a') + "\xC5\xBE", std::string(254, 'a')},
  };
  for (const Case& c : cases) EXPECT_EQ(PREPSTRFORLS(c.in), c.out) << c.in;
}

TEST(Loadstone, BothFormatsAsWritten) {
  const ARRLOC list = {at("St. Mary's gate", 52229676, 21012229), at("Sud", -500000, -120)};
  EXPECT_EQ(loadstone_text(list, BMFORMAT_LSCP),
            "#!lscp\r\n"
            "522296760,210122290,\"St. Mary s gate\",1,0,0,10002,1,\"\"\r\n"
            "-5000000,-1200,\"Sud\",1,0,0,10002,2,\"\"\r\n");
  EXPECT_EQ(loadstone_text(list, BMFORMAT_LSDB),
            "#!lsdb\r\n"
            "table,point\r\n"
            "name,latitude,longitude,accuracy,satellites,priority,userid,id\r\n"
            "\"St. Mary s gate\",52.2296760,21.0122290,1,0,0,10002,1\r\n"
            "\"Sud\",-0.5000000,-0.0001200,1,0,0,10002,2\r\n");
}

TEST(Loadstone, CoordinateFields) {
  struct Case {
    const char* field;
    std::optional<int32_t> value;
    const char* rest;  // what remains after a good field
  };
  const Case cases[] = {
      {"522296761,x", 52229676, "x"},   // 1e-7 units, last digit dropped
      {"52.2296761,x", 52229676, "x"},  // decimal, cut to six places
      {"-0.5,x", -500000, "x"},
      {"52.2,x", 52200000, "x"},
      {"-457114183,x", -45711418, "x"},
      {" 16.0769633 ,x", 16076963, "x"},  // blanks around
      {"5,x", 0, "x"},                    // one digit of 1e-7 units is nothing
      {"180.0000009,x", 180000000, "x"},
      {"180.000001,x", std::nullopt, ""},  // beyond the world
      {"1.2.3,x", std::nullopt, ""},
      {"abc,x", std::nullopt, ""},
      {"52.1", std::nullopt, ""},   // no comma
      {"52.1,", std::nullopt, ""},  // nothing after the comma
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    std::string_view rest = c.field;
    EXPECT_EQ(IMPREADCOORD(rest), c.value);
    EXPECT_EQ(rest, c.value ? std::string_view(c.rest) : std::string_view(c.field));
  }
}

TEST(Loadstone, TextFields) {
  struct Case {
    const char* field;
    std::optional<std::string_view> value;
    const char* rest;
  };
  const Case cases[] = {
      {"\"Park\",1", "Park", "1"},
      {"\"a, \"b\",c\",1", "a, \"b", "c\",1"},  // the first quote-comma ends it
      {"'Park\",1", "Park", "1"},               // the opening quote is not checked
      {"\"Park\"", std::nullopt, ""},
      {"Park,1", std::nullopt, ""},
      {"", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    std::string_view rest = c.field;
    EXPECT_EQ(IMPREADTEXT(rest), c.value);
    if (c.value) {
      EXPECT_EQ(rest, c.rest);
    }
  }
}

TEST(Loadstone, ReadingFilesLineByLine) {
  struct Case {
    const char* what;
    std::string content;
    ReadStatus status;
    int added, ignored;
  };
  const std::string db = "#!lsdb\r\ntable,point\r\n" + std::string(LS_FIELDSETHEADER) + "\r\n";
  const Case cases[] = {
      {"database, one point after the headers", db + "\"A\",52.2296761,21.0122290,1,0,0,1,1",
       ReadStatus::Read, 1, 0},
      {"headers only", db, ReadStatus::Read, 0, 0},
      {"byte order mark", "\xEF\xBB\xBF" + db + "\"A\",1.5,2.5,1\n", ReadStatus::Read, 1, 0},
      {"table,point as the first line", "table,point\n\"A\",1.5,2.5,1\n", ReadStatus::Read, 1, 0},
      {"a further table ends the points", db + "\"A\",1.5,2.5,1\nTable,other\n\"B\",3.5,4.5,1\n",
       ReadStatus::Read, 1, 0},
      {"comments and empty lines count for nothing",
       db + "# note\n\n   \r\n\"A\",1.5,2.5,1\n#\"B\",3.5,4.5,1\n", ReadStatus::Read, 1, 0},
      {"checkpoints", "#!lscp\n522296760,210122290,\"A\",1,0,0,10002,1,\"\"\n", ReadStatus::Read, 1,
       0},
      {"checkpoints, short header", "#lscp\n-5,-5,\"A\",1\n", ReadStatus::Read, 1, 0},
      {"the same point twice", "#!lscp\n10,10,\"A\",1\n10,10,\"B\",1\n", ReadStatus::Read, 1, 1},
      {"missing quote, comma or field",
       "#!lscp\n10,10,\"A\n10,10,A,1\n10;20,\"A\",1\n10,\"A\",1\n20,20,\"B\",1\n", ReadStatus::Read,
       1, 4},
      {"off the world", "#!lscp\n910000000,10,\"A\",1\n10,1800000010,\"B\",1\n", ReadStatus::Read,
       0, 2},
      {"unknown first line", "name,latitude\n\"A\",1.5,2.5,1\n", ReadStatus::NotSupported, 0, 0},
      {"empty file", "", ReadStatus::NotSupported, 0, 0},
      {"binary", std::string("\x00\x01\xff\xfe#!lscp\n\x00", 11), ReadStatus::NotSupported, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const test::Read r = load_text(c.content);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.added, c.added);
    EXPECT_EQ(r.ignored, c.ignored);
    EXPECT_EQ(r.list.size(), static_cast<std::size_t>(c.added));
  }
}

TEST(Loadstone, PointsAlreadyInTheListAreIgnored) {
  const test::Read r =
      load_text("#!lscp\n522296760,210122290,\"A\",1\n", {at("x", 52229676, 21012229)});
  EXPECT_EQ(r.added, 0);
  EXPECT_EQ(r.ignored, 1);
}

TEST(Loadstone, NamesAreMadeFitToSpeak) {
  const test::Read r = load_text("#!lscp\n10,10,\"a\tb\xff\x01\",1\n20,20,\"\",1\n");
  ASSERT_EQ(r.list.size(), 2u);
  EXPECT_EQ(r.list[0].NAME, "a b\xEF\xBF\xBD");
  EXPECT_EQ(r.list[1].NAME, "Point");
}

// Real exports: CR LF, no line end after the last record, coordinates in
// 1e-7 degrees, Croatian letters in UTF-8.
TEST(Loadstone, ARealExportLoadsWithItsCountsAndCoordinates) {
  const auto data = orvela::test::shared_data_dir();
  if (!data) GTEST_SKIP() << "the shared test data is not there";
  struct Case {
    const char* file;
    int points;
    const char* first_name;
    int32_t first_lat, first_lon;
    const char* last_name;
    int32_t last_lat, last_lon;
  };
  const Case cases[] = {
      {"ZET_Zapad_Jug.lsdb.txt", 334, "velika gorica autobus jug", 45711418, 16076963,
       "nehajska autobus zapad", 45794360, 15948241},
      {"Zet_Istok_Sjever.lsdb.txt", 322, "zagreba\xC4\x8Dka 42 autobus sjever", 45715906, 16070755,
       "autobus sljeme po\xC4\x8D"
       "etna",
       45897903, 15946626},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ARRLOC list;
    PointImport points(list, "Point");
    ASSERT_EQ(read_loadstone(*data / "loadstone" / c.file, points), ReadStatus::Read);
    EXPECT_EQ(points.added(), c.points);
    EXPECT_EQ(points.ignored(), 0);
    ASSERT_EQ(list.size(), static_cast<std::size_t>(c.points));
    for (const LOCATION& l : list) {
      EXPECT_TRUE(l.LAT >= 45710000 && l.LAT <= 45900000) << l.NAME;
      EXPECT_TRUE(l.LON >= 15800000 && l.LON <= 16080000) << l.NAME;
    }
    EXPECT_EQ(list.front().NAME, c.first_name);
    EXPECT_EQ(list.front().LAT, c.first_lat);
    EXPECT_EQ(list.front().LON, c.first_lon);
    EXPECT_EQ(list.back().NAME, c.last_name);
    EXPECT_EQ(list.back().LAT, c.last_lat);
    EXPECT_EQ(list.back().LON, c.last_lon);
  }
}

TEST(Loadstone, SavedAndLoadedAgainGivesTheSamePointsInBothFormats) {
  const auto data = orvela::test::shared_data_dir();
  if (!data) GTEST_SKIP() << "the shared test data is not there";
  ARRLOC original;
  PointImport points(original, "Point");
  ASSERT_EQ(read_loadstone(*data / "loadstone" / "ZET_Zapad_Jug.lsdb.txt", points),
            ReadStatus::Read);
  original.push_back(at("Sjever \xC4\x8C\xC4\x86\xC5\xA0\xC5\xBD\xC4\x90", -33868800, -151209300));
  for (int format : {BMFORMAT_LSCP, BMFORMAT_LSDB}) {
    SCOPED_TRACE(format);
    TempDir dir;
    const std::string text = loadstone_text(original, format);
    EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    std::ofstream(dir / "b.txt", std::ios::binary) << text;
    ARRLOC again;
    PointImport reread(again, "Point");
    ASSERT_EQ(read_loadstone(dir / "b.txt", reread), ReadStatus::Read);
    ASSERT_EQ(again.size(), original.size());
    EXPECT_EQ(reread.ignored(), 0);
    for (std::size_t i = 0; i < again.size(); ++i) {
      EXPECT_EQ(again[i].LAT, original[i].LAT) << i;
      EXPECT_EQ(again[i].LON, original[i].LON) << i;
      EXPECT_EQ(again[i].NAME, PREPSTRFORLS(original[i].NAME)) << i;
    }
    EXPECT_EQ(again.back().NAME, "Sjever \xC4\x8C\xC4\x86\xC5\xA0\xC5\xBD\xC4\x90");
  }
}

TEST(Loadstone, DamagedFilesNeverStopTheReader) {
  TempDir dir;
  // A ten-megabyte line between two good ones: cut, counted as bad, and the
  // next line read as usual.
  {
    std::ofstream out(dir / "long.lscp", std::ios::binary);
    out << "#!lscp\r\n10,10,\"A\",1\r\n20,20,\"" << std::string(10 << 20, 'x') << "\",1\r\n"
        << "30,30,\"C\",1";
  }
  ARRLOC list;
  PointImport points(list, "Point");
  EXPECT_EQ(read_loadstone(dir / "long.lscp", points), ReadStatus::Read);
  EXPECT_EQ(points.added(), 2);
  EXPECT_EQ(points.ignored(), 1);
  // A file of random bytes after a good header.
  {
    std::ofstream out(dir / "noise.lscp", std::ios::binary);
    out << "#!lscp\n";
    uint32_t x = 12345;
    for (int i = 0; i < 200000; ++i) {
      x = x * 1103515245 + 12345;
      out.put(static_cast<char>(x >> 24));
    }
  }
  ARRLOC noise;
  PointImport noisy(noise, "Point");
  EXPECT_EQ(read_loadstone(dir / "noise.lscp", noisy), ReadStatus::Read);
  for (const LOCATION& l : noise) EXPECT_TRUE(on_world(l.LAT, l.LON));
  // A folder and a missing file cannot be read.
  PointImport none(list, "Point");
  EXPECT_EQ(read_loadstone(dir.path(), none), ReadStatus::Failed);
  EXPECT_EQ(read_loadstone(dir / "missing.lscp", none), ReadStatus::Failed);
}

TEST(Loadstone, AHundredThousandBookmarksRoundTrip) {
  ARRLOC list;
  for (int i = 0; i < 100000; ++i)
    list.push_back(at("P" + std::to_string(i), 45000000 + i * 7, 16000000 - i * 3));
  TempDir dir;
  std::ofstream(dir / "big.lsdbtxt", std::ios::binary) << loadstone_text(list, BMFORMAT_LSDB);
  ARRLOC again;
  PointImport points(again, "Point");
  ASSERT_EQ(read_loadstone(dir / "big.lsdbtxt", points), ReadStatus::Read);
  EXPECT_EQ(points.added(), 100000);
  EXPECT_EQ(again[99999].LAT, list[99999].LAT);
  EXPECT_EQ(again[99999].NAME, "P99999");
  // Loading the same file again adds nothing.
  PointImport twice(again, "Point");
  ASSERT_EQ(read_loadstone(dir / "big.lsdbtxt", twice), ReadStatus::Read);
  EXPECT_EQ(twice.added(), 0);
  EXPECT_EQ(twice.ignored(), 100000);
  EXPECT_EQ(file_bytes(dir / "big.lsdbtxt").size(), loadstone_text(list, BMFORMAT_LSDB).size());
}

}  // namespace
}  // namespace orvela::bookmarks

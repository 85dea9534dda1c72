// Publishing a folder of maps as a map server, and installing from it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "online/archive.h"
#include "online/online_world.h"
#include "online/publish.h"

namespace orvela::online {
namespace {

using test::file_bytes;
using test::OnlineWorld;
namespace fs = std::filesystem;

TEST(Publish, CatalogueAndArchives) {
  OnlineWorld w;
  const fs::path src = w.tmp / "mine";
  fs::create_directories(src);
  OnlineWorld::write_map(src / "vaduz.orvel", "2015.03.10/12:00:00");
  OnlineWorld::write_map(src / "obszary.orvel", "2015.01.01/00:00:00");
  std::ofstream(src / "obszary.orvel.type") << "obszary\r\n";
  OnlineWorld::write_map(src / "wrongtype.orvel", "2015");
  std::ofstream(src / "wrongtype.orvel.type") << "misc\n";
  OnlineWorld::write_map(src / "nodate.orvel", "");
  std::ofstream(src / "junk.orvel") << "<html>";
  std::ofstream(src / "notes.txt") << "not a map";
  std::ostringstream err;
  EXPECT_EQ(run_publish_cli(src, w.tmp / "www", "polska", err), 1);
  const MapListResult list = parse_map_list(file_bytes(w.tmp / "www" / "maplista.dat"));
  EXPECT_EQ(list.error, "");
  ASSERT_EQ(list.records.size(), 2u) << err.str();
  EXPECT_EQ(list.records[0].TYP, "obszary");
  EXPECT_EQ(list.records[0].NAME, "obszary.orvel");
  EXPECT_EQ(list.records[1],
            (MAPLISTRECORD{"polska", "vaduz.orvel", "2015.03.10/12:00:00",
                           static_cast<int32_t>(fs::file_size(w.tmp / "www" / "vaduz.orvel.7z"))}));
  for (const char* skipped : {"junk.orvel skipped", "nodate.orvel skipped: it has no date",
                              "wrongtype.orvel skipped: unknown type misc"})
    EXPECT_NE(err.str().find(skipped), std::string::npos) << skipped << " in " << err.str();
  // Each archive holds its map alone, byte for byte.
  const UnpackResult u = UNPACKFILE(w.tmp / "www" / "vaduz.orvel.7z", w.tmp / "check");
  EXPECT_TRUE(u.ok()) << u.error;
  EXPECT_EQ(u.files, std::vector<fs::path>{"vaduz.orvel"});
  EXPECT_TRUE(file_bytes(w.tmp / "check" / "vaduz.orvel") == file_bytes(src / "vaduz.orvel"));
  EXPECT_FALSE(fs::exists(w.tmp / "www" / "junk.orvel.7z"));

  std::ostringstream bad;
  EXPECT_EQ(run_publish_cli(src, w.tmp / "www2", "other", bad), 2);
  EXPECT_FALSE(fs::exists(w.tmp / "www2"));
  EXPECT_EQ(published_type(src / "vaduz.orvel", ""), "inne");
}

TEST(Publish, WhatIsPublishedInstalls) {
  OnlineWorld w;
  const fs::path src = w.tmp / "mine";
  fs::create_directories(src);
  OnlineWorld::write_map(src / "łąka.orvel", "2015.03.10/12:00:00");
  std::ostringstream err;
  ASSERT_EQ(run_publish_cli(src, w.tmp / "www", "", err), 0) << err.str();
  for (const char* f : {"maplista.dat", "łąka.orvel.7z"})
    w.server.serve_file(std::string("/maps/") + f, w.tmp / "www" / f);
  w.answer("3\n1\ny\nn\n");
  w.online.INSTALLMAP(true, "");
  EXPECT_TRUE(file_bytes(w.map_path("łąka.orvel")) == file_bytes(src / "łąka.orvel"));
  // The name travels in the address written with %XX.
  EXPECT_EQ(w.server.last_target(), "/maps/%C5%82%C4%85ka.orvel.7z");
  EXPECT_EQ(w.lines("ASK ").back(), "ASK Zainstalowano. Otworzyć pobraną mapę?");
}

}  // namespace
}  // namespace orvela::online

// Unpacking 7z archives and installing the maps in them: where the items
// land, what a hostile archive cannot do, and that a failed or cancelled
// installation leaves the installed maps as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "online/archive.h"
#include "online/archive_builder.h"
#include "online/map_install.h"
#include "support/map_builder.h"
#include "support/small_disk.h"
#include "support/test_env.h"
#include "text/atomic_file.h"

namespace orvela::online {
namespace {

using orvela::test::MapBuilder;
using orvela::test::TempDir;
using test::ArchiveEntry;
using test::file_bytes;
using test::write_7z;
namespace fs = std::filesystem;

// Everything under `dir`, relative, folders with a trailing "/".
std::vector<std::string> tree(const fs::path& dir) {
  std::vector<std::string> v;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    v.push_back(fs::relative(e.path(), dir).string() + (e.is_directory() ? "/" : ""));
  std::sort(v.begin(), v.end());
  return v;
}

// A map file's bytes, with `date` as its date.
std::string map_bytes(const fs::path& scratch, const std::string& date, int version = 7) {
  static int made = 0;
  const fs::path f = scratch / ("m" + std::to_string(++made) + ".orvel");
  {
    MapBuilder b(f, version);
    b.exec("update orvel_info set value='" + date + "' where name='date'");
  }
  return file_bytes(f);
}

TEST(Unpack, ItemsLandUnderTheFolder) {
  TempDir dir;
  write_7z(dir / "a.7z", {{"top.orvel", ArchiveEntry::File, "map"},
                          {"sub/", ArchiveEntry::Folder, ""},
                          {"sub/deep/x.txt", ArchiveEntry::File, "x"},
                          {"empty/", ArchiveEntry::Folder, ""},
                          {"./dot.txt", ArchiveEntry::File, "d"},
                          {"win\\style.txt", ArchiveEntry::File, "w"}});
  const UnpackResult r = UNPACKFILE(dir / "a.7z", dir / "out");
  EXPECT_TRUE(r.ok()) << r.error;
  // An empty folder in the archive creates nothing; "\" separates folders.
  EXPECT_EQ(tree(dir / "out"),
            (std::vector<std::string>{"dot.txt", "sub/", "sub/deep/", "sub/deep/x.txt", "top.orvel",
                                      "win/", "win/style.txt"}));
  EXPECT_EQ(file_bytes(dir / "out" / "top.orvel"), "map");
  EXPECT_EQ(r.files.front(), fs::path("top.orvel"));
}

// Names beyond ASCII, in an archive made by 7-Zip itself, whatever the
// program's locale.
TEST(Unpack, SevenZipsOwnArchiveWithAPolishName) {
  TempDir dir;
  fs::create_directories(dir / "src" / "mazowsze");
  std::ofstream(dir / "src" / "łąka.orvel") << "map";
  std::ofstream(dir / "src" / "mazowsze" / "żółw.txt") << "x";
  const std::string cmd = "cd '" + (dir / "src").string() + "' && 7zz a -t7z '" +
                          (dir / "a.7z").string() + "' łąka.orvel mazowsze >/dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << "7zz (package 7zip) is needed";
  const UnpackResult r = UNPACKFILE(dir / "a.7z", dir / "out");
  EXPECT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(tree(dir / "out"),
            (std::vector<std::string>{"mazowsze/", "mazowsze/żółw.txt", "łąka.orvel"}));
  EXPECT_EQ(file_bytes(dir / "out" / "łąka.orvel"), "map");
}

TEST(Unpack, HostileAndBrokenArchivesAreRefused) {
  struct Case {
    const char* what;
    std::vector<ArchiveEntry> entries;
    const char* error_part;
  };
  const std::vector<Case> cases = {
      {"climbing name", {{"../evil.orvel", ArchiveEntry::File, "x"}}, "points outside"},
      {"climbing inside", {{"a/../../evil", ArchiveEntry::File, "x"}}, "points outside"},
      {"absolute name", {{"/tmp/evil", ArchiveEntry::File, "x"}}, "points outside"},
      {"drive letter", {{"C:\\evil", ArchiveEntry::File, "x"}}, "points outside"},
      {"symbolic link", {{"link", ArchiveEntry::Symlink, "/etc"}}, "is a link"},
      {"link then write through it",
       {{"link", ArchiveEntry::Symlink, ".."}, {"link/evil", ArchiveEntry::File, "x"}},
       "is a link"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    write_7z(dir / "a.7z", c.entries);
    const UnpackResult r = UNPACKFILE(dir / "a.7z", dir / "out" / "in");
    EXPECT_NE(r.error.find(c.error_part), std::string::npos) << c.what << ": " << r.error;
    // Nothing was written beside or above the destination.
    EXPECT_EQ(tree(dir.path()), (std::vector<std::string>{"a.7z"})) << c.what;
  }
  for (const auto& [what, bytes] : std::vector<std::pair<const char*, std::string>>{
           {"not an archive", "<html>Not Found</html>"}, {"empty file", ""}}) {
    TempDir dir;
    std::ofstream(dir / "a.7z", std::ios::binary) << bytes;
    const UnpackResult r = UNPACKFILE(dir / "a.7z", dir / "out");
    EXPECT_NE(r.error.find("the archive cannot be read"), std::string::npos) << what;
  }
  TempDir dir;
  EXPECT_FALSE(UNPACKFILE(dir / "missing.7z", dir / "out").ok());
}

TEST(Unpack, ADamagedArchiveFails) {
  TempDir dir;
  std::string big;
  for (int i = 0; i < 200000; ++i) big += std::to_string(i * 7919 % 100003) + ",";
  write_7z(dir / "a.7z", {{"big.orvel", ArchiveEntry::File, big}});
  std::string bytes = file_bytes(dir / "a.7z");
  for (const auto& [what, damaged] : std::vector<std::pair<const char*, std::string>>{
           {"cut in half", bytes.substr(0, bytes.size() / 2)}, {"bytes changed", [&] {
                                                                  std::string b = bytes;
                                                                  for (std::size_t i = 64;
                                                                       i < b.size() / 2; i += 97)
                                                                    b[i] = static_cast<char>(~b[i]);
                                                                  return b;
                                                                }()}}) {
    std::ofstream(dir / "d.7z", std::ios::binary | std::ios::trunc) << damaged;
    const UnpackResult r = UNPACKFILE(dir / "d.7z", dir / what);
    EXPECT_FALSE(r.ok()) << what;
    EXPECT_FALSE(r.error.empty()) << what;
  }
}

TEST(InstallMap, ReplacesTheMapOnlyWhenTheNewOneOpens) {
  TempDir scratch;
  const std::string old_map = map_bytes(scratch.path(), "2015.01.01/00:00:00");
  const std::string new_map = map_bytes(scratch.path(), "2016.01.01/00:00:00");
  const std::string old_format = map_bytes(scratch.path(), "2016.01.01/00:00:00", 6);
  struct Case {
    const char* what;
    std::vector<ArchiveEntry> entries;
    bool installed;
    const char* error_part;
  };
  const std::vector<Case> cases = {
      {"map twice, the second wins",
       {{"town.orvel", ArchiveEntry::File, old_format},
        {"town.orvel", ArchiveEntry::File, new_map}},
       true,
       ""},
      {"good map with a readme",
       {{"town.orvel", ArchiveEntry::File, new_map}, {"docs/readme.txt", ArchiveEntry::File, "r"}},
       true,
       ""},
      {"not a map",
       {{"town.orvel", ArchiveEntry::File, "<html>"}},
       false,
       "It is not a orvel file"},
      {"older format", {{"town.orvel", ArchiveEntry::File, old_format}}, false, "older"},
      {"another map only", {{"village.orvel", ArchiveEntry::File, new_map}}, false, "town.orvel"},
      {"map in a folder only",
       {{"x/town.orvel", ArchiveEntry::File, new_map}},
       false,
       "town.orvel"},
      {"second map broken",
       {{"town.orvel", ArchiveEntry::File, new_map}, {"b.orvel", ArchiveEntry::File, "junk"}},
       false,
       "b.orvel"},
      {"hostile entry after the map",
       {{"town.orvel", ArchiveEntry::File, new_map}, {"../evil", ArchiveEntry::File, "x"}},
       false,
       "points outside"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    fs::create_directories(dir / "maps");
    std::ofstream(dir / "maps" / "town.orvel", std::ios::binary) << old_map;
    write_7z(dir / "a.7z", c.entries);
    const InstallResult r = install_map_archive(dir / "a.7z", dir / "maps", "town.orvel");
    EXPECT_EQ(r.ok(), c.installed) << c.what << ": " << r.error;
    EXPECT_NE(r.error.find(c.error_part), std::string::npos) << c.what << ": " << r.error;
    EXPECT_EQ(file_bytes(dir / "maps" / "town.orvel"), c.installed ? new_map : old_map) << c.what;
    // No temporary folder stays behind, and nothing else arrived on failure.
    for (const auto& e : fs::recursive_directory_iterator(dir / "maps"))
      EXPECT_FALSE(text::is_temp_name(e.path())) << c.what << ": " << e.path();
    if (!c.installed) {
      EXPECT_EQ(tree(dir / "maps"), (std::vector<std::string>{"town.orvel"})) << c.what;
    }
    EXPECT_FALSE(fs::exists(dir / "evil")) << c.what;
  }
}

TEST(InstallMap, ACancelLeavesTheOldMap) {
  TempDir dir;
  fs::create_directories(dir / "maps");
  std::ofstream(dir / "maps" / "town.orvel", std::ios::binary) << "old";
  write_7z(dir / "a.7z", {{"town.orvel", ArchiveEntry::File, map_bytes(dir.path(), "2016")}});
  const InstallResult r =
      install_map_archive(dir / "a.7z", dir / "maps", "town.orvel", [] { return true; });
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(file_bytes(dir / "maps" / "town.orvel"), "old");
  EXPECT_EQ(tree(dir / "maps"), (std::vector<std::string>{"town.orvel"}));
}

TEST(InstallMap, AFullDiskLeavesTheOldMapAndSaysWhy) {
  TempDir dir;
  orvela::test::SmallDisk disk;
  ASSERT_EQ(disk.error(), "");
  std::ofstream(disk / "town.orvel", std::ios::binary) << "old";
  // Noise does not pack: the archive's map is larger than the free room.
  std::string noise(256 * 1024, '\0');
  uint32_t x = 12345;
  for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  write_7z(dir / "a.7z", {{"town.orvel", ArchiveEntry::File, noise}});
  disk.fill();
  const InstallResult r = install_map_archive(dir / "a.7z", disk.path(), "town.orvel");
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error.find("No space left on device"), std::string::npos) << r.error;
  EXPECT_EQ(file_bytes(disk / "town.orvel"), "old");
  EXPECT_EQ(tree(disk.path()), (std::vector<std::string>{"filler", "town.orvel"}));
}

TEST(InstallMap, MapFileChecks) {
  TempDir dir;
  { MapBuilder b(dir / "ok.orvel"); }
  { MapBuilder b(dir / "new.orvel", 8); }
  std::ofstream(dir / "junk.orvel") << "junk";
  EXPECT_EQ(map_file_problem(dir / "ok.orvel"), "");
  EXPECT_EQ(map_file_date(dir / "ok.orvel"), "2026.12.07/10:00:00");
  EXPECT_EQ(map_file_problem(dir / "new.orvel"),
            "Map version is newer than supported. Update program.");
  EXPECT_EQ(map_file_problem(dir / "junk.orvel"), "It is not a orvel file");
  EXPECT_EQ(map_file_problem(dir / "missing.orvel"), "Can not open map file.");
  EXPECT_EQ(map_file_date(dir / "junk.orvel"), "");
}

}  // namespace
}  // namespace orvela::online

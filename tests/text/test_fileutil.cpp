#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/test_env.h"
#include "text/fileutil.h"

namespace orvela::text {
namespace {

TEST(FileUtil, NameParts) {
  struct Case {
    std::string in, noext, name, dir;
  };
  const Case cases[] = {
      {"/home/ala/maps/Kraków.orvel", "/home/ala/maps/Kraków", "kraków.orvel", "/home/ala/maps/"},
      {"C:\\Maps\\ŁÓDŹ.LSCP", "C:\\Maps\\ŁÓDŹ", "łódź.lscp", "C:\\Maps\\"},
      {"/opt/orvela.d/orvela", "/opt/orvela.d/orvela", "orvela", "/opt/orvela.d/"},
      {"plain.txt", "plain", "plain.txt", ""},
      {"a.b", "a", "a.b", ""},
      {".b", ".b", ".b", ""},  // too short to have an extension
      {"dir/", "dir/", "", "dir/"},
      {"", "", "", ""},
      {"archive.tar.gz", "archive.tar", "archive.tar.gz", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(REMEXT(c.in), c.noext) << c.in;
    EXPECT_EQ(GETFNAME(c.in), c.name) << c.in;
    EXPECT_EQ(REMFNAME(c.in), c.dir) << c.in;
  }
}

TEST(FileUtil, ProgramFiles) {
  ProgramFile prog("/opt/orvela/orvela");
  EXPECT_EQ(prog.PROGPATH(), "/opt/orvela/");
  EXPECT_EQ(prog.PROGFILE(".ini"), "/opt/orvela/orvela.ini");
  ProgramFile win("C:\\Orvela\\orvela.exe");
  EXPECT_EQ(win.PROGFILE(".ini"), "C:\\Orvela\\orvela.ini");

  ProgramFile self = ProgramFile::current("ignored");
  EXPECT_TRUE(FEXIST(self.path()));
  EXPECT_TRUE(FEXIST(self.PROGPATH()));
  EXPECT_EQ(self.PROGPATH().back(), '/');
}

TEST(FileUtil, Exist) {
  test::TempDir dir;
  std::string file = (dir / "ćma.txt").string();
  EXPECT_FALSE(FEXIST(file));
  std::ofstream(file) << "x";
  EXPECT_TRUE(FEXIST(file));
  EXPECT_TRUE(FEXIST(dir.path().string()));
  EXPECT_FALSE(FEXIST(""));
  EXPECT_FALSE(FEXIST((dir / "no/such/file").string()));
}

}  // namespace
}  // namespace orvela::text

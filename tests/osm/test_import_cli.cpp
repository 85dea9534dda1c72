// `orvela --import` end to end: the real program in a scratch folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "osm/import_cli.h"
#include "osm/import_progress.h"
#include "support/sql_rows.h"
#include "support/test_env.h"

namespace orvela::osm {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int status;
  std::string err;
};

// The program beside the test's build tree when the environment does not name it.
fs::path program() {
  fs::path exe = test::program_dir() / "orvela";
  if (fs::exists(exe)) return exe;
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "orvela";
}

ProgramRun run_program(const std::string& args) {
  fs::path exe = program();
  std::string cmd = "ASAN_OPTIONS=detect_leaks=0 '" + exe.string() + "' " + args + " 2>&1";
  ProgramRun r{-1, {}};
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.err.append(buf.data(), n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

TEST(ImportCommand, ConvertsTheDemoSourceAndReportsErrors) {
  if (!fs::exists(program())) GTEST_SKIP() << "the orvela program is not built";
  test::TempDir dir;
  fs::path src = test::source_dir() / "data" / "demo" / "nowhere-cove.osm";
  ProgramRun ok = run_program("--home '" + dir.path().string() + "' --import '" + src.string() +
                              "' '" + (dir / "demo.orvel").string() + "'");
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.err.find("Initializing map..."), std::string::npos) << ok.err;
  EXPECT_NE(ok.err.find("Detecting intersections..."), std::string::npos) << ok.err;
  EXPECT_NE(ok.err.find("Closing map..."), std::string::npos) << ok.err;
  EXPECT_EQ(
      testing::sql_one(dir / "demo.orvel", "select count(*) > 20 from orvel_poi where objtype='n'"),
      "1");

  ProgramRun bad =
      run_program("--home '" + dir.path().string() + "' --import '" +
                  (dir / "absent.osm").string() + "' '" + (dir / "x.orvel").string() + "'");
  EXPECT_NE(bad.status, 0);
  EXPECT_NE(bad.err.find("Error 1: error opening file" + (dir / "absent.osm").string() + "."),
            std::string::npos)
      << bad.err;
  EXPECT_FALSE(fs::exists(dir / "x.orvel"));
}

TEST(ImportCommand, MissingRulesFileWritesNothing) {
  test::TempDir dir;
  std::ofstream(dir / "in.osm") << "<?xml version='1.0'?><osm><node id='1' lat='1' lon='1'/></osm>";
  std::ostringstream err;
  int st =
      run_import_cli(dir / "in.osm", dir / "out.orvel", dir / "osm.rules", dir / "errdb.log", err);
  EXPECT_NE(st, 0);
  EXPECT_EQ(err.str(), "Error 4: Can not read osm.rules.\n");
  EXPECT_FALSE(fs::exists(dir / "out.orvel"));
}

// A broken file is refused with its code, the place where it breaks and
// what should have been there.
TEST(ImportCommand, BrokenDataSaysWhereAndWhat) {
  test::TempDir dir;
  fs::copy_file(test::source_dir() / "data" / "osm.rules", dir / "osm.rules");
  const std::string good = "<?xml version='1.0'?>\n<osm>\n<node id='1' lat='1' lon='1'/>\n";
  std::ofstream(dir / "in.osm") << good << "<node id='x1' lat='2' lon='2'/>\n</osm>\n";
  std::ostringstream err;
  int st =
      run_import_cli(dir / "in.osm", dir / "out.orvel", dir / "osm.rules", dir / "errdb.log", err);
  EXPECT_NE(st, 0);
  EXPECT_TRUE(
      err.str().ends_with("Error 2: bad file format..\n"
                          "Line 4, column 14: expected a number in id=\"x1\" of <node>.\n"))
      << err.str();
  EXPECT_FALSE(fs::exists(dir / "out.orvel"));
}

TEST(ImportProgress, Texts) {
  EXPECT_EQ(GETTIMESTR(60), "60 seconds");
  EXPECT_EQ(GETTIMESTR(61), "1 minutes");
  EXPECT_EQ(GETTIMESTR(150), "2 minutes");  // halves to even
  EXPECT_EQ(GETTIMESTR(90), "2 minutes");
  using Clock = ImportProgressText::Clock;
  Clock::time_point t0{};
  ImportProgressText p(t0);
  EXPECT_EQ(p.text(1, 0, t0), "Initializing map...");
  EXPECT_EQ(p.text(2, 0, t0), "Detecting intersections...");
  EXPECT_EQ(p.text(3, 0, t0), "Closing map...");
  EXPECT_EQ(p.text(4, 0, t0), "");
  EXPECT_EQ(p.text(0, 100, t0), "");
  EXPECT_EQ(p.text(25, 100, t0 + std::chrono::seconds(10)),
            "25 percent done. Time remaining about 30 seconds");
  EXPECT_EQ(p.text(10, 100, t0 + std::chrono::seconds(60)),
            "10 percent done. Time remaining about 9 minutes");
}

}  // namespace
}  // namespace orvela::osm

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(SoundMenu, SwitchesAndVolumeAreSavedWithTheUserSettings) {
  TempDir home;
  std::ofstream(home / "user.ini") << "confirmexit=0\nsoundvolume=90\n";
  std::string script;
  for (int i = 0; i < 8; ++i) script += "Page Up\n";  // beyond the top: stays at 100
  script += "Ctrl+M\nIDM_SOUNDBEHINDLOWER\nIDM_SAVEUSERINI\n";
  ConsoleResult r = run_console(home.path(), script);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "SAY On mono mode\n");
  const std::string saved = slurp(home / "user.ini");
  EXPECT_NE(saved.find("soundvolume=100\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("soundmono=1\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("soundbehindlower=0\n"), std::string::npos) << saved;

  // The next start reads them back: mono switches off again.
  ConsoleResult again = run_console(home.path(), "Ctrl+M\n");
  EXPECT_EQ(again.out, "SAY Off mono mode\n");
}

}  // namespace
}  // namespace orvela::test

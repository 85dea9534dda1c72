#pragma once
// The command line.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvela::app {

struct Options {
  enum class Mode { Window, Console, Help, Version, Import, Publish, Error };
  Mode mode = Mode::Window;
  // --home DIR: all writable state under DIR.
  std::optional<std::filesystem::path> home;
  // --lang CODE: the language instead of the user's.
  std::optional<std::string> lang;
  // --import IN OUT.
  std::filesystem::path import_in, import_out;
  // --publish MAPDIR OUTDIR, and --type TYPE for the maps without a side file.
  std::filesystem::path publish_maps, publish_out;
  std::string publish_type;
  // What was wrong with the command line (Mode::Error).
  std::string error;
};

Options parse_command_line(const std::vector<std::string>& args);
std::string usage_text();
std::string version_text();

}  // namespace orvela::app

#pragma once
// The one place that knows where things live. Read-only assets sit beside the
// program (the build tree, a portable copy) or, for an installed program, in
// <prefix>/share/orvela. Writable state (maps, settings, logs, temporary
// files) lives in the home: the program folder of a portable copy when it is
// writable, else the XDG folders, or the folder given with --home.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace orvela::app {

class Paths {
 public:
  // All writable state under `home` (portable use and --home).
  Paths(std::filesystem::path program_dir, const std::filesystem::path& home);
  // Settings in `config`, maps and logs in `data`, temporary files in `cache`.
  Paths(std::filesystem::path program_dir, std::filesystem::path config, std::filesystem::path data,
        std::filesystem::path cache);

  // The folder of the running executable (from /proc/self/exe).
  static std::filesystem::path running_program_dir();
  // Where the read-only assets of the program in `program_dir` are: beside
  // it when it carries them (build tree, portable copy), else the installed
  // data folder reached from the program's bin folder (../share/orvela).
  static std::filesystem::path assets_dir_for(const std::filesystem::path& program_dir);
  // Looks up an environment variable; nullptr when it is not set.
  using EnvLookup = std::function<const char*(const char*)>;
  // Works out the home for the program in `program_dir`: `home_override`
  // when given, else the program folder when it carries its assets and is
  // writable (a portable copy), else the XDG folders
  // ($XDG_CONFIG_HOME, $XDG_DATA_HOME, $XDG_CACHE_HOME or their defaults
  // under $HOME), each with a folder "orvela".
  static Paths detect(std::filesystem::path program_dir,
                      const std::optional<std::filesystem::path>& home_override,
                      const EnvLookup& env);
  // The same for the running program and the process environment.
  static Paths detect(const std::optional<std::filesystem::path>& home_override);

  const std::filesystem::path& program_dir() const { return program_dir_; }
  // The read-only assets: sounds, translations, rules, manuals, the demo map.
  const std::filesystem::path& assets_dir() const { return assets_dir_; }
  const std::filesystem::path& config_dir() const { return config_dir_; }
  const std::filesystem::path& data_dir() const { return data_dir_; }

  // MAPDIR.
  std::filesystem::path maps_dir() const { return data_dir_ / "maps"; }
  std::filesystem::path program_ini() const { return config_dir_ / "orvela.ini"; }
  std::filesystem::path user_ini() const { return config_dir_ / "user.ini"; }
  std::filesystem::path alsoft_ini() const { return config_dir_ / "alsoft.ini"; }
  std::filesystem::path start_pos_file() const { return data_dir_ / "orvela.start"; }
  std::filesystem::path update_dat() const { return data_dir_ / "update.dat"; }
  std::filesystem::path errdb_log() const { return data_dir_ / "errdb.log"; }
  // Failures nobody foresaw, one line each, for the person who mends them.
  std::filesystem::path error_log() const { return data_dir_ / "error.log"; }
  // Where the running copy listens, so that a second start finds it.
  std::filesystem::path instance_socket() const { return data_dir_ / "orvela.sock"; }
  // TEMPPATH.
  std::filesystem::path temp_dir() const { return temp_dir_; }

  std::filesystem::path lang_dir() const { return assets_dir_ / "lang"; }
  std::filesystem::path sounds_ini() const { return assets_dir_ / "sounds.ini"; }
  std::filesystem::path sounds_dir() const { return assets_dir_ / "sounds"; }
  std::filesystem::path hrtf_dir() const { return assets_dir_ / "hrtf"; }
  std::filesystem::path osm_rules() const { return assets_dir_ / "osm.rules"; }
  // The maps delivered with the program (the demo map).
  std::filesystem::path demo_maps_dir() const { return assets_dir_ / "maps"; }
  // The user manual in language `lang`: help.<lang>.html among the assets.
  std::filesystem::path help_file(const std::string& lang) const {
    return assets_dir_ / ("help." + lang + ".html");
  }

 private:
  std::filesystem::path program_dir_, assets_dir_, config_dir_, data_dir_, temp_dir_;
};

// TEMPFILE: a file of our own in the temp folder, created with a unique name
// (so two running programs never share it) and removed when dropped.
class TempFile {
 public:
  // Creates the file; path() is empty when that failed.
  explicit TempFile(const std::filesystem::path& dir);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace orvela::app

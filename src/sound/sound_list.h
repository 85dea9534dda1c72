#pragma once
// The sound list "sounds.ini": which sound file plays for which kind of map
// object. Read once at start-up; never changes afterwards.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::sound {

// One sound file, in order of first mention.
struct SNDFILEREC {
  std::string FN;   // identifier in lower case: the file name in sounds/ without ".wav"
  int32_t LEN = 0;  // size in bytes when the list was read; 0 if it could not be opened
};

// One object kind with a sound.
struct SNDTYPEREC {
  std::string TYP;    // the kind, lower-cased and translated
  int32_t SNDID = 0;  // index into SNDFILES
};

class SoundList {
 public:
  // Reads `sounds_ini` (optional: a missing file gives no kinds) and measures
  // each named file in `sounds_dir`. "specialsound = FILE" registers FILE for
  // the presentation only; "KIND = FILE" gives KIND that sound unless KIND is
  // listed already or FILE is missing or empty (or names anything outside
  // `sounds_dir`).
  void READSOUNDSLIST(const std::filesystem::path& sounds_ini,
                      const std::filesystem::path& sounds_dir);

  // Index of file `sf` in SNDFILES, adding it with size `sflen` when new.
  int32_t GETSNDFILEID(std::string_view sf, int32_t sflen);
  // The file identifier for object kind `t`, or empty.
  const std::string& SNDTYPEFIND(std::string_view t) const;

  const std::vector<SNDFILEREC>& SNDFILES() const { return files_; }
  const std::vector<SNDTYPEREC>& SNDTYPES() const { return types_; }

 private:
  std::vector<SNDFILEREC> files_;
  std::vector<SNDTYPEREC> types_;
};

namespace detail {
// One settings line split as the settings files do: blanks trimmed, ";"
// starts a comment, name "=" value with blanks around "=" dropped. False for
// lines that hold no setting (empty, comment, no "=", empty name).
bool split_setting_line(std::string_view line, std::string& name, std::string& value);
}  // namespace detail

}  // namespace orvela::sound

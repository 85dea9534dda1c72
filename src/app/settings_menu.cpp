#include "app/settings_menu.h"

#include "text/string_consts.h"
#include "text/translate.h"

namespace orvela::app {

using text::_;

bool READUSERINI(Settings& s, const Paths& paths, ui::Ui& ui, bool startup) {
  if (read_user_ini(s, paths.user_ini())) return true;
  if (!startup) ui.WGINFO(_("No saved user settings found."));
  return false;
}

bool SAVEUSERINI(const Settings& s, const Paths& paths, ui::Ui& ui) {
  std::error_code ec;
  std::filesystem::create_directories(paths.config_dir(), ec);
  if (const text::WriteResult w = write_user_ini(s, paths.user_ini()); !w) {
    ui.WGINFO(
        text::STRTOKENREPLACE(_("Can not save file user.ini: {error}"), {"error", w.reason()}));
    return false;
  }
  return true;
}

void SAVESETTINGSREMINDER(const Settings& s, ui::Ui& ui) {
  if (s.SAVESETTINGSREMIND)
    ui.WGINFO(_("Remember to save settings, to make this change permanent."));
}

bool SELECTBOOKMARKSAVEFORMAT(Settings& s, ui::Ui& ui,
                              const std::function<void()>& forget_bookmark_files) {
  const std::vector<std::string> entries = {_("Loadstone-GPS checkpoints file"),
                                            _("Loadstone-GPS database text file")};
  auto choice = ui.WGREADLIST(_("Bookmarks save format"), _("Select bookmarks file save format "),
                              entries, static_cast<std::size_t>(s.bookmarks.BOOKMARKSAVEFORMAT));
  if (!choice || static_cast<int>(*choice) == s.bookmarks.BOOKMARKSAVEFORMAT) return false;
  s.bookmarks.BOOKMARKSAVEFORMAT = static_cast<int>(*choice);
  if (forget_bookmark_files) forget_bookmark_files();
  SAVESETTINGSREMINDER(s, ui);
  return true;
}

std::vector<std::string> udir_mode_names() {
  std::vector<std::string> names;
  for (const text::UDIRMODEREC& m : text::StringConsts{}.UDIRMODES) names.push_back(m.NAME);
  return names;
}

bool SELECTUDIRMODE(Settings& s, ui::Ui& ui) {
  auto choice =
      ui.WGREADLIST(_("Direction announcement mode"), _("Select direction announcement mode"),
                    udir_mode_names(), s.explore.UDIRMODE);
  if (!choice || *choice == s.explore.UDIRMODE) return false;
  s.explore.UDIRMODE = static_cast<uint8_t>(*choice);
  SAVESETTINGSREMINDER(s, ui);
  return true;
}

}  // namespace orvela::app

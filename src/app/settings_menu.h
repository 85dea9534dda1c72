#pragma once
// What the Settings menu does with the settings: load, save, the reminder
// and the two list choices. Messages go to the person through the Ui.
#include <functional>
#include <string>
#include <vector>

#include "app/paths.h"
#include "app/settings.h"
#include "ui/ui.h"

namespace orvela::app {

// Reads user.ini into `s`. At start-up a missing file is silent; from the
// menu it says "No saved user settings found.". False when nothing was read;
// otherwise the caller hands the new values to the sound and mouse input.
bool READUSERINI(Settings& s, const Paths& paths, ui::Ui& ui, bool startup);
// Writes user.ini; says "Can not save file user.ini" and why when that fails.
bool SAVEUSERINI(const Settings& s, const Paths& paths, ui::Ui& ui);
// "Remember to save settings, ..." when the reminder is switched on.
void SAVESETTINGSREMINDER(const Settings& s, ui::Ui& ui);
// Lets the person pick the bookmark file format. On a change,
// `forget_bookmark_files` runs before the reminder, so that the next save
// asks for a file name in the new format. True when it changed.
bool SELECTBOOKMARKSAVEFORMAT(Settings& s, ui::Ui& ui,
                              const std::function<void()>& forget_bookmark_files);
// Lets the person pick how directions are spoken; true when it changed.
bool SELECTUDIRMODE(Settings& s, ui::Ui& ui);

// The shown names of the direction modes, index 0 first, translated.
std::vector<std::string> udir_mode_names();

}  // namespace orvela::app

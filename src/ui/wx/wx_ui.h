#pragma once
// The wxWidgets front end: the main window with its menu bar, accelerators
// and the last spoken message, and the system's own accessible dialogs.
// This header needs no wxWidgets; only the app links orvela_ui_wx.
#include <memory>
#include <string>

#include "ui/ui.h"

namespace orvela::ui::wx {

struct WindowOptions {
  std::string title = "Orvela";  // WGAPPLONGNAME
};

// Starts wxWidgets and creates the main window, shown at once. Nothing when
// there is no display or the window cannot be created. One per process;
// wxWidgets is shut down when the returned object is destroyed.
std::unique_ptr<Ui> WGINIT(int& argc, char** argv, const WindowOptions& options);

}  // namespace orvela::ui::wx

// The window's hand-over of a file to the desktop, checked from outside by
// desktop_test.py: puts the file named on the command line on the clipboard
// and shows it in its folder, logging what each returned, then keeps the
// window (and so the clipboard) until it is closed.
#include <fstream>
#include <iostream>

#include "ui/wx/wx_ui.h"

namespace {

using namespace orvela::ui;

class Quiet final : public EventHandler {
 public:
  void on_command(int) override {}
  void on_focus(bool) override {}
  void on_init_menu() override {}
  void on_menu_loop(bool) override {}
  bool on_close_requested() override { return true; }
  void on_unexpected_error(const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: orvela_desktop_probe FILE LOGFILE\n";
    return 2;
  }
  const std::filesystem::path file = argv[1];
  std::ofstream log(argv[2]);
  auto ui = orvela::ui::wx::WGINIT(argc, argv, {"Orvela desktop test"});
  if (!ui) {
    std::cerr << "no display\n";
    return 77;
  }
  Ui& window = *ui;
  window.post([&] {
    log << "copied " << window.copy_files_to_clipboard({file}) << std::endl;
    log << "shown " << window.show_file_in_folder(file) << std::endl;
  });
  Quiet handler;
  window.run(handler);
  return 0;
}

#pragma once
// The Ui implemented with wxWidgets (private to ui/wx; the app uses WGINIT).
#include "ui/ui.h"
#include "ui/wx/main_frame.h"

namespace orvela::ui::wx {

class WxUi final : public Ui {
 public:
  explicit WxUi(MainFrame* frame);
  ~WxUi() override;

  BgResult BGPROCES(BgTask task) override;
  bool WGSHELLEXE(const std::string& target) override;
  bool copy_files_to_clipboard(const std::vector<std::filesystem::path>& files) override;
  bool show_file_in_folder(const std::filesystem::path& file) override;
  void WGSETWINTEXTSTR(const std::string& title) override;
  void show_spoken(const std::string& text) override;
  void raise() override;
  void set_menu(MenuBar bar) override;
  void set_item_enabled(int id, bool enabled) override;
  void set_item_checked(int id, bool checked) override;
  bool is_item_enabled(int id) const override;
  bool is_item_checked(int id) const override;
  bool set_mouse_capture(bool on) override;
  void MOUSETOCENTER() override;
  void post(std::function<void()> fn) override;
  void run(EventHandler& handler) override;
  void request_close() override;

 protected:
  void message_box(const std::string& title, const std::string& text) override;
  bool ask(const std::string& title, const std::string& question, bool default_yes) override;
  std::optional<std::string> read_string(const std::string& title, const std::string& prompt,
                                         const std::string& initial, bool password) override;
  std::optional<std::string> read_multiline(const std::string& title, const std::string& prompt,
                                            const std::string& text, bool read_only) override;
  std::optional<std::size_t> read_list(const std::string& title, const std::string& prompt,
                                       const std::vector<std::string>& entries,
                                       std::size_t preselect) override;
  std::optional<std::filesystem::path> choose_file(FileMode mode, const std::string& title,
                                                   const std::vector<FileFilter>& filters,
                                                   const std::filesystem::path& initial,
                                                   const std::string& default_ext) override;

 private:
  wxMenuItem* find_item(int id) const;
  // The frame while it exists (dialogs fall back to no parent after it is gone).
  wxWindow* parent() const;

  MainFrame* frame_;
  bool frame_alive_ = true;
};

}  // namespace orvela::ui::wx

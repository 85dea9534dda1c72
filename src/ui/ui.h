#pragma once
// The seam between the program and the person: one main window with a menu
// and accelerators, message boxes, the input dialogs, the file chooser, the
// background-task dialog, and handing documents and addresses to the
// desktop. Two front ends implement it: the wxWidgets window (ui/wx) and the
// console (ui/console_ui.h), which scripts and tests drive.
//
// Every member except post() is called on the window's thread. Dialogs are
// modal and synchronous: they return when the person has answered; a
// cancelled dialog returns nothing and changes nothing.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/bg_task.h"
#include "ui/events.h"
#include "ui/menu.h"

namespace orvela::ui {

// File chooser modes.
enum FileMode {
  WGFOPEN = 0,         // open: the file must exist
  WGFSAVEAS = 1,       // save: asks before overwriting
  WGFSAVEASNOASK = 2,  // save without that question
};

// One entry of a file chooser's type list, e.g. {"Map files *.omap", "*.omap"}.
// A pattern may hold several globs separated by ";".
struct FileFilter {
  std::string description;
  std::string pattern;
};

class Ui {
 public:
  virtual ~Ui() = default;

  // ---- message boxes -------------------------------------------------------

  // Captions of the information and question boxes; set once the message
  // catalogue is loaded (until then "Information" and "Question").
  void set_box_titles(std::string info_title, std::string question_title);

  // Information box with an OK button.
  void WGINFO(const std::string& text) { message_box(info_title_, text); }
  // Yes/no question with Yes as the default button; "?" is appended unless
  // the text already ends in one. True when answered Yes.
  bool WGTN(const std::string& question) {
    return ask(question_title_, with_question_mark(question), true);
  }
  // As WGTN with No as the default button.
  bool WGNT(const std::string& question) {
    return ask(question_title_, with_question_mark(question), false);
  }

  // ---- input dialogs ------------------------------------------------------

  // One line of text; the edit field is labelled by `prompt` and starts with
  // `initial`. With `password` every character is shown as "*".
  std::optional<std::string> WGREADSTR(const std::string& title, const std::string& prompt,
                                       const std::string& initial = {}, bool password = false) {
    return read_string(title, prompt, initial, password);
  }
  // Several lines of text (Enter starts a new line; "\n" separates lines in
  // and out). With `read_only` the text can be read and copied, not changed.
  std::optional<std::string> WGREADMULTILINESTR(const std::string& title, const std::string& prompt,
                                                const std::string& text, bool read_only = false) {
    return read_multiline(title, prompt, text, read_only);
  }
  // A choice from `entries` (kept in the given order). `preselect` is the
  // 0-based entry selected when the dialog opens (out of range: the first).
  // Returns the 0-based index of the chosen entry; nothing when cancelled or
  // when the list is empty.
  std::optional<std::size_t> WGREADLIST(const std::string& title, const std::string& prompt,
                                        const std::vector<std::string>& entries,
                                        std::size_t preselect = 0) {
    return read_list(title, prompt, entries, preselect);
  }
  // Open or save file chooser. `initial` is a folder to start in, or a file
  // whose folder is opened and whose name is proposed; `default_ext` (".lscp")
  // is appended to a saved name that has none.
  std::optional<std::filesystem::path> WGWYBORPLI(FileMode mode, const std::string& title,
                                                  const std::vector<FileFilter>& filters,
                                                  const std::filesystem::path& initial = {},
                                                  const std::string& default_ext = {}) {
    return choose_file(mode, title, filters, initial, default_ext);
  }

  // ---- background task ----------------------------------------------------

  // Runs task.work on a worker thread behind a modal progress dialog with
  // Cancel and returns when the work has ended; the dialog never closes
  // while the worker still runs, and the worker is never killed. An
  // exception thrown by the work is rethrown here, on the window's thread.
  // Only one task at a time.
  virtual BgResult BGPROCES(BgTask task) = 0;

  // ---- the desktop --------------------------------------------------------

  // Opens a document, folder or address with the desktop's default
  // application. False when it could not be handed over.
  virtual bool WGSHELLEXE(const std::string& target) = 0;
  // Asks "Do you want to open web page {adr} in default browser?", then opens
  // it ("http://" is put in front of an address without a scheme).
  bool RUNWEB(const std::string& address);
  // Asks "Do you want to create message to {eml} in default mail client?",
  // then opens a new "mailto:" message.
  bool RUNMAIL(const std::string& address);
  // Puts a list of files on the clipboard (for pasting in a file manager).
  virtual bool copy_files_to_clipboard(const std::vector<std::filesystem::path>& files) = 0;
  // Shows the folder holding `file` in the desktop's file manager, with the
  // file selected where the file manager can do that. False when nothing
  // could be opened.
  virtual bool show_file_in_folder(const std::filesystem::path& file) = 0;

  // ---- the main window ----------------------------------------------------

  // The window title.
  virtual void WGSETWINTEXTSTR(const std::string& title) = 0;
  // Shows the last spoken message in the window (large, high-contrast text,
  // for users with some sight). The console prints speech itself and
  // ignores it.
  virtual void show_spoken(const std::string& text) = 0;
  // Brings the window to the foreground.
  virtual void raise() = 0;

  // Installs the menu bar and accelerator table described by `bar`.
  virtual void set_menu(MenuBar bar) = 0;
  // Menu item state by command id (unknown ids are ignored). Accelerators act
  // whether or not their item is enabled.
  virtual void set_item_enabled(int id, bool enabled) = 0;
  virtual void set_item_checked(int id, bool checked) = 0;
  virtual bool is_item_enabled(int id) const = 0;
  virtual bool is_item_checked(int id) const = 0;
  void WGMNUEN(int id) { set_item_enabled(id, true); }
  void WGMNUDIS(int id) { set_item_enabled(id, false); }
  void WGMNUCHK(int id) { set_item_checked(id, true); }
  void WGMNUUNCHK(int id) { set_item_checked(id, false); }

  // Walking with the mouse: while captured, the pointer is hidden and held at
  // the centre of the window, and each movement arrives as
  // EventHandler::on_mouse_move(dx, dy) in pointer counts. False when the
  // mouse cannot be captured. Clicks arrive whether captured or not.
  virtual bool set_mouse_capture(bool on) = 0;
  // Puts the pointer back at the centre of the window (while captured).
  virtual void MOUSETOCENTER() = 0;

  // Runs `fn` on the window's thread soon. The only member that may be
  // called from any thread (GPS playback, receivers). Calls posted from one
  // thread run in the order they were posted.
  virtual void post(std::function<void()> fn) = 0;

  // The message loop: delivers commands and window events to `handler`
  // until the window has been closed (its close request not vetoed).
  virtual void run(EventHandler& handler) = 0;
  // Closes the window as its close box does: the handler may veto. Used by
  // the Quit command. Takes effect when called inside run().
  virtual void request_close() = 0;

 protected:
  virtual void message_box(const std::string& title, const std::string& text) = 0;
  virtual bool ask(const std::string& title, const std::string& question, bool default_yes) = 0;
  // The dialogs behind WGREADSTR, WGREADMULTILINESTR, WGREADLIST, WGWYBORPLI.
  virtual std::optional<std::string> read_string(const std::string& title,
                                                 const std::string& prompt,
                                                 const std::string& initial, bool password) = 0;
  virtual std::optional<std::string> read_multiline(const std::string& title,
                                                    const std::string& prompt,
                                                    const std::string& text, bool read_only) = 0;
  virtual std::optional<std::size_t> read_list(const std::string& title, const std::string& prompt,
                                               const std::vector<std::string>& entries,
                                               std::size_t preselect) = 0;
  virtual std::optional<std::filesystem::path> choose_file(FileMode mode, const std::string& title,
                                                           const std::vector<FileFilter>& filters,
                                                           const std::filesystem::path& initial,
                                                           const std::string& default_ext) = 0;

  static std::string with_question_mark(const std::string& s);

 private:
  std::string info_title_ = "Information";
  std::string question_title_ = "Question";
};

// "http://" + address unless it already starts with "http://", "https://" or
// "ftp://" (any case).
std::string web_address(const std::string& address);

}  // namespace orvela::ui

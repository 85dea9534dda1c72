#pragma once
// A background task: long work (start-point search, import, installation,
// GPS connection) runs on one worker thread while the window shows a modal
// progress dialog with a Cancel button. The worker sees only this wx-free
// interface: it reports texts and polls the cancel flag.
#include <functional>
#include <string>

namespace orvela::ui {

// Which text of the progress dialog BGPROCESINFO changes.
enum BgTarget { BGPROCESEDIT = 0, BGPROCESTYT = 1, BGPROCESNAZWA = 2 };

// Title, label and first text of the progress dialog.
struct BgTexts {
  std::string title;
  std::string label;
  std::string text;
};

// What the work leaves behind: its result code (0 = success) and the text
// that goes with a non-zero code.
struct BgResult {
  int LASTERR = 0;
  std::string LASTERRDESC;
  // Set by the runner: the user pressed Cancel while the work ran.
  bool cancelled = false;
};

// The worker's side of the dialog. Safe to call from the worker thread only.
class BgProgress {
 public:
  virtual ~BgProgress() = default;
  // Changes one text of the dialog (shown as soon as the window's thread
  // gets to it; texts sent before the dialog appears are not lost).
  virtual void BGPROCESINFO(const std::string& s, BgTarget target = BGPROCESEDIT) = 0;
  // True once the user has pressed Cancel; the work polls it and stops early.
  virtual bool BGPROCESCANCEL() const = 0;
};

struct BgTask {
  BgTexts texts;
  // The work, run on the worker thread. Any exception it throws is carried
  // back and rethrown on the window's thread by Ui::BGPROCES.
  std::function<BgResult(BgProgress&)> work;
  // Called on the window's thread when Cancel is pressed (optional), e.g.
  // to abort a download in progress.
  std::function<void()> on_cancel;
};

}  // namespace orvela::ui

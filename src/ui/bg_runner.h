#pragma once
// The machinery behind Ui::BGPROCES, shared by both front ends: the worker
// thread, the cancel flag, the texts, and carrying the work's result or
// exception back. The front end supplies how to get a call onto the
// window's thread (`Poster`) and the dialog (`BgView`), and runs its modal
// loop until ended().
//
//   BgRunner run(std::move(task), poster, view);
//   run.start();
//   ... modal loop, calling run.cancel() on Cancel, until run.ended() ...
//   return run.finish();   // rethrows the work's exception
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "ui/bg_task.h"

namespace orvela::ui {

// The progress dialog as the runner sees it; called on the window's thread.
class BgView {
 public:
  virtual ~BgView() = default;
  virtual void set_text(BgTarget target, const std::string& text) = 0;
  // The worker has ended: the dialog closes now.
  virtual void close() = 0;
};

using Poster = std::function<void(std::function<void()>)>;

class BgRunner {
 public:
  BgRunner(BgTask task, Poster post, BgView& view);
  // Raises the cancel flag and waits for the worker if it still runs (it is
  // never killed).
  ~BgRunner();
  BgRunner(const BgRunner&) = delete;
  BgRunner& operator=(const BgRunner&) = delete;

  // Starts the worker.
  void start();
  // Cancel was pressed: raises the cancel flag, shows "Cancelling" and calls
  // the task's on_cancel. The dialog stays until the worker ends.
  void cancel();
  bool cancel_requested() const;
  // The worker's last message has been handled on the window's thread.
  bool ended() const;
  // The current texts of the dialog.
  const BgTexts& texts() const;
  // Joins the worker and returns its result, or rethrows its exception.
  BgResult finish();

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  std::thread worker_;
};

}  // namespace orvela::ui

#include "ui/bg_runner.h"

#include <utility>

#include "text/translate.h"

namespace orvela::ui {

// Everything the worker and the calls it posts touch. Posted calls hold it
// by shared_ptr, so one that runs after the runner is gone finds `view`
// cleared instead of a dangling dialog.
struct BgRunner::Shared final : BgProgress {
  BgTask task;
  Poster post;
  BgView* view = nullptr;  // window's thread only
  BgTexts texts;           // window's thread only
  std::atomic<bool> cancel{false};
  bool ended = false;  // window's thread only
  BgResult result;     // written by the worker before its last post
  std::exception_ptr error;

  void show(BgTarget target, const std::string& s) {
    switch (target) {
      case BGPROCESTYT:
        texts.title = s;
        break;
      case BGPROCESNAZWA:
        texts.label = s;
        break;
      default:
        texts.text = s;
        break;
    }
    if (view) view->set_text(target, s);
  }

  void BGPROCESINFO(const std::string& s, BgTarget target) override {
    // Runs on the worker: never touch the dialog here, hand the text over.
    post([self = self_ref(), s, target] { self->show(target, s); });
  }
  bool BGPROCESCANCEL() const override { return cancel.load(); }

  std::weak_ptr<Shared> weak_self;
  std::shared_ptr<Shared> self_ref() { return weak_self.lock(); }
};

BgRunner::BgRunner(BgTask task, Poster post, BgView& view) : shared_(std::make_shared<Shared>()) {
  shared_->task = std::move(task);
  shared_->post = std::move(post);
  shared_->view = &view;
  shared_->texts = shared_->task.texts;
  shared_->weak_self = shared_;
}

BgRunner::~BgRunner() {
  // Left early (an error on the window's thread): ask the work to stop and
  // wait for it, as Cancel would.
  if (worker_.joinable()) {
    shared_->cancel = true;
    worker_.join();
  }
  shared_->view = nullptr;
}

void BgRunner::start() {
  worker_ = std::thread([s = shared_] {
    try {
      if (s->task.work) s->result = s->task.work(*s);
    } catch (...) {
      s->error = std::current_exception();
    }
    // The last act of the worker: everything it posted before has been (or
    // will be) handled first, so the dialog closes after the last text.
    s->post([s] {
      s->ended = true;
      if (s->view) s->view->close();
    });
  });
}

void BgRunner::cancel() {
  if (shared_->ended || shared_->cancel.exchange(true)) return;
  shared_->show(BGPROCESEDIT, text::_("Cancelling"));
  if (shared_->task.on_cancel) shared_->task.on_cancel();
}

bool BgRunner::cancel_requested() const { return shared_->cancel.load(); }

bool BgRunner::ended() const { return shared_->ended; }

const BgTexts& BgRunner::texts() const { return shared_->texts; }

BgResult BgRunner::finish() {
  if (worker_.joinable()) worker_.join();
  shared_->view = nullptr;
  if (shared_->error) std::rethrow_exception(std::exchange(shared_->error, nullptr));
  BgResult r = std::move(shared_->result);
  r.cancelled = shared_->cancel.load();
  return r;
}

}  // namespace orvela::ui

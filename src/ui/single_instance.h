#pragma once
// Only one copy of the program runs per home folder: a second start asks the
// first to bring its window forward and ends. The first copy listens on a
// local socket in the home folder; a copy that can connect to it knows the
// program already runs.
#include <filesystem>
#include <functional>
#include <memory>

namespace orvela::ui {

class SingleInstance {
 public:
  // Nothing when another copy already listens at `socket_path` (it has been
  // asked to come forward when `gotowin`); the caller then ends. Otherwise
  // this copy listens there until the object is destroyed. A socket left
  // behind by a crashed copy is replaced.
  static std::unique_ptr<SingleInstance> ONEINSTCHECK(const std::filesystem::path& socket_path,
                                                      bool gotowin);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // `fn` runs on the listening thread whenever a later copy asks this one
  // to come forward (hand it on with Ui::post). Requests that arrive before
  // it is set are remembered and delivered when it is. on_raise({}) stops
  // the calls: when it returns, none is running, so the window may go.
  void on_raise(std::function<void()> fn);

 private:
  struct Listener;
  explicit SingleInstance(std::unique_ptr<Listener> l);
  std::unique_ptr<Listener> listener_;
};

}  // namespace orvela::ui

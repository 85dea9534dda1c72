#include "osm/writer_thread.h"

#include <utility>

namespace orvela::osm {

WriterThread::WriterThread(StoreFn store) : store_(std::move(store)) {
  filling_.reserve(kBatch);
  thread_ = std::thread([this] { run(); });
}

WriterThread::~WriterThread() { abandon(); }

void WriterThread::push(PendingObject&& o) {
  filling_.push_back(std::move(o));
  if (filling_.size() >= kBatch) hand_over();
}

void WriterThread::hand_over() {
  if (filling_.empty()) return;
  {
    std::unique_lock lock(m_);
    cv_.wait(lock, [this] { return queue_.size() < kDepth || failed_; });
    if (!failed_) queue_.push_back(std::move(filling_));
  }
  cv_.notify_all();
  filling_ = Batch{};
  filling_.reserve(kBatch);
}

void WriterThread::run() {
  while (true) {
    Batch batch;
    {
      std::unique_lock lock(m_);
      cv_.wait(lock, [this] { return !queue_.empty() || closing_; });
      if (queue_.empty()) return;
      batch = std::move(queue_.front());
      queue_.pop_front();
    }
    cv_.notify_all();
    try {
      for (PendingObject& o : batch) store_(o);
    } catch (...) {
      std::lock_guard lock(m_);
      error_ = std::current_exception();
      failed_ = true;
      queue_.clear();
      cv_.notify_all();
      return;
    }
  }
}

void WriterThread::stop(bool store_rest) {
  if (store_rest) {
    hand_over();
  } else {
    filling_.clear();
  }
  {
    std::lock_guard lock(m_);
    if (!store_rest) queue_.clear();
    closing_ = true;
  }
  cv_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void WriterThread::finish() {
  stop(true);
  std::lock_guard lock(m_);
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

void WriterThread::abandon() { stop(false); }

bool WriterThread::failed() const {
  std::lock_guard lock(m_);
  return failed_;
}

}  // namespace orvela::osm

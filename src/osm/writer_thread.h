#pragma once
// Stores the objects of an import on a thread of its own, so that reading
// and converting the next elements goes on while SQLite writes the last
// ones. Objects travel in batches through a queue of bounded length: memory
// stays bounded whatever the speed of either side, and they are stored in
// the order they came.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "map/orvobj.h"
#include "osm/element_source.h"
#include "osm/tagrec.h"

namespace orvela::osm {

// An object ready to be stored, with what storing it needs.
struct PendingObject {
  map::ORVOBJREC obj;
  std::vector<TAGREC> tags;
  std::vector<OSMNODE> nodes;  // a way's vertices that came, in order
  bool routable = false;       // a way the intersection search needs the nodes of
};

class WriterThread {
 public:
  // `store` runs on the writer's thread, once per object, in order.
  using StoreFn = std::function<void(PendingObject&)>;
  explicit WriterThread(StoreFn store);
  // Abandons what is still queued and waits for the thread.
  ~WriterThread();
  WriterThread(const WriterThread&) = delete;
  WriterThread& operator=(const WriterThread&) = delete;

  // Queues an object; waits while the queue is full. Once storing has
  // failed, objects are dropped.
  void push(PendingObject&& o);
  // Waits until every queued object is stored and the thread has ended;
  // throws what storing threw, if it did.
  void finish();
  // Ends the thread without storing what is still queued.
  void abandon();
  // Storing threw: nothing more will be stored.
  bool failed() const;

 private:
  using Batch = std::vector<PendingObject>;
  static constexpr size_t kBatch = 512;  // objects handed over at a time
  static constexpr size_t kDepth = 8;    // batches queued at most
  void run();
  void hand_over();
  void stop(bool store_rest);

  StoreFn store_;
  Batch filling_;  // the producer's, not shared
  mutable std::mutex m_;
  std::condition_variable cv_;
  std::deque<Batch> queue_;
  bool closing_ = false;  // no more batches will come
  bool failed_ = false;
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace orvela::osm

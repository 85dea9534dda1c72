#pragma once
// GPS sources and tracking: a recorded NMEA log played back at one entry a
// second (with pause, skipping and jumps to its ends) or a receiver on a
// serial port read live. A worker thread reads the source and hands every
// state to the window's thread through Ui::post, each with its own copy of
// the state; the window's thread moves the user (Follower) and speaks.
//
// Every public member runs on the window's thread. The worker and the window's
// thread share only the playing state, the log's entries and its cursor,
// under one mutex; the worker waits on a condition variable, so a pause
// can be cut short and a source closed at once.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "explore/direction.h"
#include "gps/follow.h"
#include "gps/gps_settings.h"
#include "gps/nmea.h"
#include "gps/state_list.h"

namespace orvela::ui {
class Ui;
}

namespace orvela::gps {

class SerialPort;

enum NmeaMode : uint8_t {
  NMEAMODE_NONE = 0,  // no GPS source
  NMEAMODE_LOG = 1,   // a log is loaded and played
  NMEAMODE_GPS = 2,   // a receiver is connected
};

// What the worker is doing, as the window's thread sets it. (Which state is
// the first or the last of a log travels with each update instead.)
enum NmeaState : uint8_t {
  NMEASTATE_PAUSED = 0,      // paused by the user: nothing is handed over
  NMEASTATE_IDLE = 1,        // running
  NMEASTATE_END = 5,         // the last entry of the log was handed over: standing still
  NMEASTATE_DISCONNECT = 6,  // the source is being closed: the worker ends
};

// One state handed from a worker to the window's thread.
struct NmeaUpdate {
  GPSSTATEREC gs;
  bool first = false;   // the first entry of a log, or the first fix after connecting
  bool last = false;    // the last entry of a log
  uint64_t source = 0;  // the source that sent it; a closed source's updates are dropped
};

class Gps {
 public:
  Gps(ui::Ui& ui, text::Messages& msg, explore::Explorer& ex, const map::Grid& grid,
      const explore::DirectionTables& tables, const explore::ExploreSettings& explore_settings,
      const GpsSettings& settings);
  ~Gps();
  Gps(const Gps&) = delete;
  Gps& operator=(const Gps&) = delete;

  // ---- commands ---------------------------------------------------------------
  // Asks for a log file, loads it and plays it (replacing a log that plays).
  void GPSLOGOPEN();
  // Asks for the receiver's port, connects on a background task and follows it.
  void GPSOPEN();
  // Pauses or resumes the source.
  void SWITCHNMEAPAUSE();
  // Moves the log's cursor `INCSEC` seconds of log time back or forward.
  void NMEALOGREWIND(int32_t INCSEC);
  void NMEALOGREWINDHOME();
  void NMEALOGREWINDEND();
  // Closes the source; its worker has ended when this returns.
  void NMEADISCONNECT();
  void GPSSAYTIME();
  void GPSSAYSAT();
  void GPSSAYHDOP();

  // A worker's update, on the window's thread.
  void PROCNMEAUPDATE(const NmeaUpdate& u);

  // The window gained or lost the keyboard focus (or a menu opened): while
  // away, playback stands at its entry and receiver lines are dropped.
  void set_focus(bool focused);
  // Ends any source without a word: the program is closing.
  void shutdown();

  NmeaMode NMEAMODE() const { return mode_; }
  // The state last handed to the window's thread.
  const GPSSTATEREC& ORVELAGPS() const { return orvelagps_; }

 private:
  // Playback of the log's entries (NMEALOGBGPROCESS) and reading the
  // receiver (NMEAGPSBGPROCESS), each on the worker thread.
  void NMEALOGBGPROCESS(uint64_t source, std::chrono::milliseconds pause);
  void NMEAGPSBGPROCESS(std::unique_ptr<SerialPort> port, uint64_t source);
  bool can_play() const;
  void hand_over(const NmeaUpdate& u);
  void receiver_ended(uint64_t source);

  // Starts `work` on the worker thread as source `mode`; false (after
  // saying so) when no thread could be started.
  template <typename Work>
  bool start_source(NmeaMode mode, Work work, const std::string& failure);
  // Asks the worker to end and waits for it.
  void stop_worker();
  // Sets the cursor and lets the playback go on from there at once.
  void seek(std::size_t cursor);
  // NMEALOGWAITCOUNTER := 0: the playback goes straight on to the next entry.
  void end_pause();

  ui::Ui& ui_;
  text::Messages& msg_;
  const explore::DirectionTables& tables_;
  const GpsSettings& settings_;
  Follower follower_;

  // Window's thread only.
  NmeaMode mode_ = NMEAMODE_NONE;
  GPSSTATEREC orvelagps_;
  uint64_t source_ = 0;
  // Posted calls check it: after the destructor they do nothing.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::thread worker_;

  // Shared with the worker, under mu_.
  mutable std::mutex mu_;
  std::condition_variable cv_;
  NmeaState state_ = NMEASTATE_PAUSED;
  GpsStateList list_;
  std::optional<std::size_t> cursor_;  // NMEALOGCURSOR: the next entry to play
  bool focused_ = true;
  bool pause_cut_ = false;
};

}  // namespace orvela::gps

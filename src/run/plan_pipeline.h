// The plan's file made on a second thread while the run writes it: its
// points are computed and encoded a few pieces ahead of the writes, so that
// the arithmetic of one piece and the write of the one before share the two
// cores instead of taking turns.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "model/plan_runs.h"
#include "output/plan_format.h"

namespace scenario {

class plan_pipeline {
 public:
  // Pieces made ahead of the writes, at most.
  static constexpr std::size_t k_ahead = 3;

  // Starts making the pieces of plan, which must stay unchanged until the
  // pipeline is destroyed. Where no thread can be started, drain makes them
  // itself.
  explicit plan_pipeline(const plan_runs& plan);
  // Stops the thread, if it is still making pieces, and waits for it.
  ~plan_pipeline();
  plan_pipeline(const plan_pipeline&) = delete;
  plan_pipeline& operator=(const plan_pipeline&) = delete;

  // Hands every piece to put, on the caller's thread, in the order
  // encode_plan makes them: the same offsets and bytes. What put throws
  // passes on (the destructor then stops the thread); so does what the
  // thread met, once it has ended.
  void drain(const plan_piece_fn& put);

 private:
  struct piece {
    std::uint64_t offset = 0;
    std::string bytes;
  };
  void make_pieces();
  void stop_and_join();

  const plan_runs& plan_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<piece> ready_;         // made, not yet handed to put
  std::vector<std::string> spare_;  // buffers put is done with, for reuse
  bool done_ = false;               // the thread made its last piece, or gave up
  bool stop_ = false;               // the caller wants no more pieces
  std::exception_ptr error_;        // what the thread met
  std::thread thread_;
};

}  // namespace scenario

// The plan's file made on a second thread while the run writes it: its
// points are computed and encoded a few pieces ahead of the writes, so that
// the arithmetic of one piece and the write of the one before share the two
// cores instead of taking turns. The pieces are made in a fixed ring of
// buffers, allocated once and handed between the threads without a copy.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "model/plan_runs.h"
#include "output/plan_format.h"

namespace scenario {

class plan_pipeline final : private plan_piece_buffers {
 public:
  // Buffers of the ring: the encoder holds up to two while it fills them,
  // the rest wait to be written or to be filled again. The two coordinate
  // blocks fill side by side, so their pieces come two at a time: with six,
  // the writer has two to write while the encoder fills the next two (with
  // four, each would wait for the other in turn), and the 1.5 MB touch
  // fewer fresh pages than eight would.
  static constexpr std::size_t k_buffers = 6;
  // Each side, once it has to wait, sleeps until the other has this many
  // buffers for it (or is done), not for every single one: fewer wake-ups.
  static constexpr std::size_t k_wake_after = 2;
  // Both sides asleep would need the encoder's one buffer, fewer than
  // k_wake_after free and fewer than k_wake_after filled: the ring is
  // larger, so one of them always has what it waits for.
  static_assert(k_buffers > 1 + 2 * (k_wake_after - 1));

  // Starts making the pieces of plan, which must stay unchanged until the
  // pipeline is destroyed, then runs then (the other files' bytes, say) on
  // the same thread while the last pieces are written. Where no thread can
  // be started, drain does both itself.
  explicit plan_pipeline(const plan_runs& plan, std::function<void()> then = {});
  // Stops the thread, if it is still making pieces, and waits for it.
  ~plan_pipeline();
  plan_pipeline(const plan_pipeline&) = delete;
  plan_pipeline& operator=(const plan_pipeline&) = delete;

  // Hands every piece to put, on the caller's thread, in the order
  // encode_plan makes them: the same offsets and bytes; returns once then
  // has run too. What put throws passes on (the destructor then stops the
  // thread, and then may not run); so does what the thread met, then
  // included, once it has ended.
  void drain(const plan_piece_fn& put);

 private:
  struct piece {
    std::uint64_t offset = 0;
    char* bytes = nullptr;
    std::size_t size = 0;
  };
  // The encoder's side, on the second thread.
  char* lend() override;
  void filled(std::uint64_t offset, char* piece, std::size_t size) override;
  void make_pieces();
  void stop_and_join();

  const plan_runs& plan_;
  std::function<void()> then_;
  std::unique_ptr<char[]> memory_;  // the ring's buffers, side by side
  std::mutex mutex_;
  std::condition_variable for_writer_;
  std::condition_variable for_encoder_;
  char* free_[k_buffers] = {};  // buffers to fill, free_count_ of them
  std::size_t free_count_ = 0;
  piece ready_[k_buffers];  // filled, in order from ready_first_
  std::size_t ready_first_ = 0;
  std::size_t ready_count_ = 0;
  bool done_ = false;         // the thread made its last piece, or gave up
  bool stop_ = false;         // the caller wants no more pieces
  std::exception_ptr error_;  // what the thread met
  std::thread thread_;
};

}  // namespace scenario

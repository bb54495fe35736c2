#include "run/plan_pipeline.h"

#include <system_error>
#include <utility>

namespace scenario {
namespace {

// Thrown through encode_plan to end the thread early.
struct stopped {};

}  // namespace

plan_pipeline::plan_pipeline(const plan_runs& plan, std::function<void()> then)
    : plan_(plan), then_(std::move(then)) {
  memory_ = std::make_unique_for_overwrite<char[]>(k_buffers * k_plan_piece_bytes);
  for (std::size_t i = 0; i < k_buffers; ++i) free_[i] = memory_.get() + i * k_plan_piece_bytes;
  free_count_ = k_buffers;
  try {
    thread_ = std::thread([this] { make_pieces(); });
  } catch (const std::system_error&) {
    // No thread to be had: drain computes the pieces between the writes.
    memory_.reset();
  }
}

plan_pipeline::~plan_pipeline() {
  stop_and_join();
}

void plan_pipeline::stop_and_join() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  for_encoder_.notify_one();
  if (thread_.joinable()) thread_.join();
}

char* plan_pipeline::lend() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (free_count_ == 0)
    for_encoder_.wait(lock, [this] { return stop_ || free_count_ >= k_wake_after; });
  if (stop_) throw stopped{};
  return free_[--free_count_];
}

void plan_pipeline::filled(std::uint64_t offset, char* bytes, std::size_t size) {
  bool wake = false;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ready_[(ready_first_ + ready_count_) % k_buffers] = {offset, bytes, size};
    wake = ++ready_count_ == k_wake_after;
  }
  if (wake) for_writer_.notify_one();
}

void plan_pipeline::make_pieces() {
  try {
    encode_plan(plan_, *this);
    if (then_) then_();
  } catch (const stopped&) {
    // The caller gave up; it neither wants the pieces nor an error.
  } catch (...) {
    const std::lock_guard<std::mutex> lock(mutex_);
    error_ = std::current_exception();
  }
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    done_ = true;
  }
  for_writer_.notify_one();
}

void plan_pipeline::drain(const plan_piece_fn& put) {
  if (!thread_.joinable()) {
    encode_plan(plan_, put);
    if (then_) then_();
    return;
  }
  for (;;) {
    piece p;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (ready_count_ == 0)
        for_writer_.wait(lock, [this] { return done_ || ready_count_ >= k_wake_after; });
      if (ready_count_ == 0) break;
      p = ready_[ready_first_];
      ready_first_ = (ready_first_ + 1) % k_buffers;
      --ready_count_;
    }
    put(p.offset, std::string_view(p.bytes, p.size));
    bool wake = false;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      free_[free_count_] = p.bytes;
      wake = ++free_count_ == k_wake_after;
    }
    if (wake) for_encoder_.notify_one();
  }
  stop_and_join();
  if (error_) std::rethrow_exception(error_);
}

}  // namespace scenario

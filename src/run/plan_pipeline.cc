#include "run/plan_pipeline.h"

#include <system_error>
#include <utility>

namespace scenario {
namespace {

// Thrown through encode_plan to end the thread early.
struct stopped {};

}  // namespace

plan_pipeline::plan_pipeline(const plan_runs& plan) : plan_(plan) {
  try {
    thread_ = std::thread([this] { make_pieces(); });
  } catch (const std::system_error&) {
    // No thread to be had: drain computes the pieces between the writes.
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
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void plan_pipeline::make_pieces() {
  try {
    encode_plan(plan_, [this](std::uint64_t offset, std::string_view bytes) {
      std::string buffer;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return stop_ || ready_.size() < k_ahead; });
        if (stop_) throw stopped{};
        if (!spare_.empty()) {
          buffer = std::move(spare_.back());
          spare_.pop_back();
        }
      }
      buffer.assign(bytes);
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        ready_.push_back({offset, std::move(buffer)});
      }
      changed_.notify_all();
    });
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
  changed_.notify_all();
}

void plan_pipeline::drain(const plan_piece_fn& put) {
  if (!thread_.joinable()) {
    encode_plan(plan_, put);
    return;
  }
  for (;;) {
    piece p;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return done_ || !ready_.empty(); });
      if (ready_.empty()) break;
      p = std::move(ready_.front());
      ready_.pop_front();
    }
    changed_.notify_all();
    put(p.offset, p.bytes);
    const std::lock_guard<std::mutex> lock(mutex_);
    spare_.push_back(std::move(p.bytes));
  }
  stop_and_join();
  if (error_) std::rethrow_exception(error_);
}

}  // namespace scenario

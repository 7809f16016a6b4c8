#pragma once
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>

namespace PayloadTool {

// Inflates one zlib stream fed piece by piece and tells whether the input was
// exactly one complete stream: not cut short, not damaged, nothing after it.
class StreamInflater {
 public:
  enum class State { NeedsMore, Ended, DataAfterEnd, Damaged };
  using Sink = std::function<void(const char* data, size_t size)>;

  StreamInflater();
  ~StreamInflater();
  StreamInflater(const StreamInflater&) = delete;
  StreamInflater& operator=(const StreamInflater&) = delete;

  // Inflates `piece`, handing every run of output to `sink`. Once the state is
  // no longer NeedsMore, further input only turns Ended into DataAfterEnd.
  void feed(const std::string& piece, const Sink& sink);

  State state() const { return state_; }
  uint64_t bytesOut() const { return bytesOut_; }

 private:
  z_stream stream_{};
  State state_ = State::NeedsMore;
  uint64_t bytesOut_ = 0;
};

}  // namespace PayloadTool

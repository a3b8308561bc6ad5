#pragma once
// The steps of the main window's load with the milliseconds each took, so
// that the start-up benchmark can show where the time goes. Marking a step is
// one clock read and one entry in a fixed table; nothing is written anywhere.
#include <array>
#include <chrono>
#include <cstddef>
#include <span>
#include <string_view>

namespace tarvix {

class StartupTrace {
 public:
  static constexpr std::size_t kMaxSteps = 24;

  struct Step {
    std::string_view name;  // a literal: the table never owns text
    double ms = 0;          // since the step before (or Start)
  };

  void Start() noexcept {
    count_ = 0;
    last_ = Clock::now();
  }
  // Ends the step `name` now; steps past kMaxSteps are not kept.
  void Mark(std::string_view name) noexcept {
    const auto now = Clock::now();
    if (count_ < kMaxSteps) steps_[count_++] = {name, std::chrono::duration<double, std::milli>(now - last_).count()};
    last_ = now;
  }
  [[nodiscard]] std::span<const Step> Steps() const noexcept { return {steps_.data(), count_}; }

 private:
  using Clock = std::chrono::steady_clock;
  std::array<Step, kMaxSteps> steps_{};
  std::size_t count_ = 0;
  Clock::time_point last_{};
};

}  // namespace tarvix

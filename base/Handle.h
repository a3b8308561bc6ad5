#pragma once
// One owning type for every handle the program keeps. A policy names the
// handle's type, the value that means "none", how to tell a live handle, and
// the call that releases it; the aliases below and in ui/Handles.h,
// registry/RegKey.h and pinger/Ping.h are the only policies there are.
#include <windows.h>

#include <utility>

namespace tarvix {

// Policy for handles whose "none" is null.
template <typename T, auto CloseFn>
struct NullHandlePolicy {
  using Type = T;
  static constexpr T Invalid() noexcept { return nullptr; }
  static bool IsValid(T handle) noexcept { return handle != nullptr; }
  static void Close(T handle) noexcept { CloseFn(handle); }
};

// Policy for handles whose failure value is INVALID_HANDLE_VALUE (ICMP and
// find handles; some kernel calls also return null, which counts as none too).
template <auto CloseFn>
struct InvalidHandlePolicy {
  using Type = HANDLE;
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) noexcept { CloseFn(handle); }
};

// A handle released by Policy::Close when it goes; moves, never copies.
template <typename Policy>
class UniqueAny {
 public:
  using Type = typename Policy::Type;

  UniqueAny() noexcept : handle_(Policy::Invalid()) {}
  explicit UniqueAny(Type handle) noexcept : handle_(handle) {}
  ~UniqueAny() { reset(); }
  UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;

  [[nodiscard]] Type get() const noexcept { return handle_; }
  [[nodiscard]] bool valid() const noexcept { return Policy::IsValid(handle_); }
  [[nodiscard]] explicit operator bool() const noexcept { return valid(); }
  // Gives the handle away, e.g. a region handed to SetWindowRgn (the window owns it then).
  [[nodiscard]] Type release() noexcept { return std::exchange(handle_, Policy::Invalid()); }
  void reset(Type handle = Policy::Invalid()) noexcept {
    if (Policy::IsValid(handle_) && handle_ != handle) Policy::Close(handle_);
    handle_ = handle;
  }
  // For an out-parameter (RegOpenKeyEx and friends); closes what was held.
  [[nodiscard]] Type* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Type handle_;
};

// Files, events, processes, mutexes: empty is null, as most kernel calls fail;
// CreateFile's INVALID_HANDLE_VALUE also counts as none.
struct KernelHandlePolicy : InvalidHandlePolicy<CloseHandle> {
  static HANDLE Invalid() noexcept { return nullptr; }
};
using UniqueHandle = UniqueAny<KernelHandlePolicy>;

inline void CloseFindHandle(HANDLE handle) noexcept { FindClose(handle); }
// FindFirstFile ... FindClose.
using UniqueFindHandle = UniqueAny<InvalidHandlePolicy<CloseFindHandle>>;

}  // namespace tarvix

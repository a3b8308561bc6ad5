#pragma once
// Memory figures of the machine and of the process, and freeing physical
// memory by briefly claiming and writing a large block, which makes Windows
// trim other processes' working sets; plus three small shell requests.
#include <windows.h>
// user32 defines ExitWindows as a macro; the class has a method of that name.
#undef ExitWindows

#include <cstdint>
#include <string_view>

namespace tarvix {

// Where FreeUpMemory gets its block; tests put a failing one in its place.
class MemoryAllocator {
 public:
  virtual ~MemoryAllocator() = default;
  // A writable block of `bytes` bytes (more than 0), or nullptr when it cannot be had.
  [[nodiscard]] virtual void* Allocate(std::uint64_t bytes) noexcept = 0;
  // Gives back a block that Allocate returned, with the size it was asked for.
  virtual void Release(void* block, std::uint64_t bytes) noexcept = 0;
};

// Committed pages straight from VirtualAlloc, given back with VirtualFree.
[[nodiscard]] MemoryAllocator& SystemAllocator() noexcept;

enum class FreeUpStatus {
  Full,          // the whole amount was claimed
  Halved,        // the whole amount failed; half of it was claimed
  OutOfMemory,   // neither the amount nor its half could be claimed
  InvalidAmount  // a negative amount; nothing was tried
};

struct FreeUpResult {
  FreeUpStatus status = FreeUpStatus::InvalidAmount;
  // Characters claimed (each two bytes); 0 unless status is Full or Halved.
  std::int64_t claimed = 0;

  [[nodiscard]] bool succeeded() const noexcept {
    return status == FreeUpStatus::Full || status == FreeUpStatus::Halved;
  }
};

// Stateless: every figure is read fresh from GlobalMemoryStatusEx on each
// call, so instances may live for one timer tick or for the whole run.
class FreeRAM {
 public:
  FreeRAM() noexcept;
  // Uses `allocator` for FreeUpMemory; it must outlive this object.
  explicit FreeRAM(MemoryAllocator& allocator) noexcept;

  // Bytes of physical memory available now.
  [[nodiscard]] std::uint64_t GetFreePhysical() const noexcept;
  // Bytes of physical memory in the machine.
  [[nodiscard]] std::uint64_t GetTotalPhysical() const noexcept;
  // Share of physical memory in use, percent (0 to 100).
  [[nodiscard]] unsigned GetMemoryLoad() const noexcept;
  // Bytes of this process's address space not yet reserved or committed.
  [[nodiscard]] std::uint64_t GetFreeVirtual() const noexcept;
  // Bytes of this process's user address space.
  [[nodiscard]] std::uint64_t GetTotalVirtual() const noexcept;

  // Claims a text of `amount` space characters (2 x amount bytes), writes
  // every byte of it and gives it back, serving pending window messages five
  // times before claiming, once after each 2 MB written, five times while
  // holding it and once after each 16 MB given back. Callers pass megabytes
  // x 1048576; amounts of 2048 MB and more are fine. When the block cannot
  // be had, half the amount (rounded to even) is tried once, written in the
  // same slices; its failure too gives OutOfMemory. Window handlers may run
  // during the call.
  [[nodiscard]] FreeUpResult FreeUpMemory(std::int64_t amount) noexcept;

  // "shutdown", "reboot" or "logoff" in any letter case asks Windows to shut
  // down, restart or log off (no privilege is acquired here) and returns the
  // request's result; any other word asks nothing and returns 0.
  [[nodiscard]] BOOL ExitWindows(std::string_view mode) const noexcept;
  // Opens an http:// or https:// address in a maximised browser window. False,
  // and nothing opened, for any other kind of target (a program path, for one).
  [[nodiscard]] bool GoToURL(std::string_view url) const noexcept;
  // Starts a new mail to `address` in the mail program. False, and nothing
  // started, for an empty address or one carrying blanks, control characters
  // or a "?" (which would add headers or attachments to the mail).
  [[nodiscard]] bool eMail(std::string_view address) const noexcept;

 private:
  MemoryAllocator* allocator_;
};

// ExitWindowsEx flags for the words ExitWindows knows; -1 for any other.
[[nodiscard]] int ExitWindowsFlagsFor(std::string_view mode) noexcept;
// True for an http:// or https:// address without blanks or control characters.
[[nodiscard]] bool IsWebAddress(std::string_view url) noexcept;
// True for a non-empty mail address without blanks, control characters or "?".
[[nodiscard]] bool IsMailAddress(std::string_view address) noexcept;

}  // namespace tarvix

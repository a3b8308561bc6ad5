#pragma once
// What the memory windows ask of the machine's memory, behind one small
// interface so that tests can script the figures and watch the freeing.
#include <cstdint>

#include "memory/FreeRAM.h"

namespace tarvix {

class MemoryAccess {
 public:
  virtual ~MemoryAccess() = default;
  // Bytes of physical memory available now.
  [[nodiscard]] virtual std::uint64_t GetFreePhysical() noexcept = 0;
  // Bytes of physical memory in the machine.
  [[nodiscard]] virtual std::uint64_t GetTotalPhysical() noexcept = 0;
  // As FreeRAM::FreeUpMemory: `amount` characters (MB x 1048576); window
  // handlers may run during the call.
  [[nodiscard]] virtual FreeUpResult FreeUpMemory(std::int64_t amount) noexcept = 0;
};

// The machine's own figures and freeing, through FreeRAM.
class SystemMemory final : public MemoryAccess {
 public:
  SystemMemory() noexcept = default;
  // Freeing claims its block from `allocator`, which must outlive this object.
  explicit SystemMemory(MemoryAllocator& allocator) noexcept : ram_(allocator) {}

  [[nodiscard]] std::uint64_t GetFreePhysical() noexcept override { return ram_.GetFreePhysical(); }
  [[nodiscard]] std::uint64_t GetTotalPhysical() noexcept override { return ram_.GetTotalPhysical(); }
  [[nodiscard]] FreeUpResult FreeUpMemory(std::int64_t amount) noexcept override { return ram_.FreeUpMemory(amount); }

 private:
  FreeRAM ram_;
};

}  // namespace tarvix

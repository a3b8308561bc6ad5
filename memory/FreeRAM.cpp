#include "memory/FreeRAM.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "base/Platform.h"
#include "base/Text.h"
#include "memory/FreeAmount.h"
#include "ui/MessagePump.h"

namespace tarvix {
namespace {

// Passes of the message pump before claiming the block and while holding it.
constexpr int kPumpPasses = 5;
// The block is written in slices with one pass of the message pump after
// each, so that the window answers within a few milliseconds however large
// the block: one slice (2 MB) takes about 1 to 5 ms to write into fresh
// pages, while the pass costs microseconds when nothing is waiting.
constexpr std::size_t kSliceCharacters = std::size_t{1} << 20;
// The block is given back in pieces of this size, with a pass between them.
constexpr std::size_t kReleasePieceBytes = std::size_t{16} << 20;

class VirtualMemoryAllocator final : public MemoryAllocator {
 public:
  void* Allocate(std::uint64_t bytes) noexcept override {
    if (bytes == 0 || bytes > SIZE_MAX) return nullptr;
    return VirtualAlloc(nullptr, static_cast<SIZE_T>(bytes), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  }
  void Release(void* block, std::uint64_t bytes) noexcept override {
    if (block == nullptr) return;
    // Giving back gigabytes of written pages takes the system hundreds of
    // milliseconds: it is done in pieces, serving messages in between.
    auto* start = static_cast<char*>(block);
    for (std::uint64_t done = 0; done + kReleasePieceBytes < bytes; done += kReleasePieceBytes) {
      VirtualFree(start + done, kReleasePieceBytes, MEM_DECOMMIT);
      ProcessPendingMessages(1);
    }
    VirtualFree(block, 0, MEM_RELEASE);
  }
};

VirtualMemoryAllocator g_systemAllocator;

// Writes `count` spaces from `text` on and returns the end: sixteen bytes
// (eight characters) a store, as wide as every x86-64 processor writes, so
// that the speed of the freeing does not hang on the compiler's choices.
char16_t* FillSpaces(char16_t* text, std::size_t count) noexcept {
  const __m128i eightSpaces = _mm_set1_epi16(static_cast<short>(u' '));
  std::size_t at = 0;
  for (; at + 8 <= count; at += 8) _mm_storeu_si128(reinterpret_cast<__m128i*>(text + at), eightSpaces);
  for (; at < count; ++at) text[at] = u' ';
  return text + count;
}

// A freeing buffer: claimed and filled with spaces on construction, serving
// pending messages between the slices, and given back on destruction. An
// empty text needs no block at all.
class SpaceBuffer {
 public:
  SpaceBuffer(MemoryAllocator& allocator, std::int64_t characters) noexcept : allocator_(allocator) {
    const auto bytes = FreeingBufferBytes(characters);
    if (!bytes) return;
    if (*bytes == 0) {
      claimed_ = true;
      return;
    }
    block_ = allocator_.Allocate(*bytes);
    if (block_ == nullptr) return;
    bytes_ = *bytes;
    claimed_ = true;
    // Every page must really be written, not merely reserved, for Windows to
    // hand physical memory over from other processes.
    auto* text = static_cast<char16_t*>(block_);
    for (auto left = static_cast<std::size_t>(characters); left > 0;) {
      const std::size_t slice = std::min(left, kSliceCharacters);
      text = FillSpaces(text, slice);
      left -= slice;
      if (left > 0) ProcessPendingMessages(1);
    }
  }
  ~SpaceBuffer() {
    if (block_ != nullptr) allocator_.Release(block_, bytes_);
  }
  SpaceBuffer(const SpaceBuffer&) = delete;
  SpaceBuffer& operator=(const SpaceBuffer&) = delete;

  [[nodiscard]] bool claimed() const noexcept { return claimed_; }

 private:
  MemoryAllocator& allocator_;
  void* block_ = nullptr;
  std::uint64_t bytes_ = 0;
  bool claimed_ = false;
};

[[nodiscard]] MEMORYSTATUSEX ReadMemoryStatus() noexcept {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!GlobalMemoryStatusEx(&status)) {
    status = MEMORYSTATUSEX{};
    status.dwLength = sizeof(status);
  }
  return status;
}

[[nodiscard]] bool HasBlankOrControl(std::string_view text) noexcept {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= ' ' || u == 0x7F;
  });
}

struct ExitMode {
  std::string_view word;
  UINT flags;
};
constexpr std::array<ExitMode, 3> kExitModes{{
    {"shutdown", EWX_SHUTDOWN},
    {"reboot", EWX_REBOOT},
    {"logoff", EWX_LOGOFF},
}};

}  // namespace

MemoryAllocator& SystemAllocator() noexcept { return g_systemAllocator; }

FreeRAM::FreeRAM() noexcept : allocator_(&g_systemAllocator) {}

FreeRAM::FreeRAM(MemoryAllocator& allocator) noexcept : allocator_(&allocator) {}

std::uint64_t FreeRAM::GetFreePhysical() const noexcept { return ReadMemoryStatus().ullAvailPhys; }

std::uint64_t FreeRAM::GetTotalPhysical() const noexcept { return ReadMemoryStatus().ullTotalPhys; }

unsigned FreeRAM::GetMemoryLoad() const noexcept { return ReadMemoryStatus().dwMemoryLoad; }

std::uint64_t FreeRAM::GetFreeVirtual() const noexcept { return ReadMemoryStatus().ullAvailVirtual; }

std::uint64_t FreeRAM::GetTotalVirtual() const noexcept { return ReadMemoryStatus().ullTotalVirtual; }

FreeUpResult FreeRAM::FreeUpMemory(std::int64_t amount) noexcept {
  if (amount < 0) return {FreeUpStatus::InvalidAmount, 0};
  ProcessPendingMessages(kPumpPasses);
  {
    const SpaceBuffer full(*allocator_, amount);
    if (full.claimed()) {
      ProcessPendingMessages(kPumpPasses);
      return {FreeUpStatus::Full, amount};
    }
  }
  const std::int64_t half = HalfRoundedToEven(amount);
  const SpaceBuffer halved(*allocator_, half);
  if (halved.claimed()) return {FreeUpStatus::Halved, half};
  return {FreeUpStatus::OutOfMemory, 0};
}

int ExitWindowsFlagsFor(std::string_view mode) noexcept {
  for (const ExitMode& known : kExitModes) {
    if (mode.size() == known.word.size() && text::StartsWithNoCase(mode, known.word)) {
      return static_cast<int>(known.flags);
    }
  }
  return -1;
}

BOOL FreeRAM::ExitWindows(std::string_view mode) const noexcept {
  const int flags = ExitWindowsFlagsFor(mode);
  if (flags < 0) return 0;
  return CurrentPlatform().RequestExitWindows(static_cast<UINT>(flags), 0);
}

bool IsWebAddress(std::string_view url) noexcept {
  if (HasBlankOrControl(url)) return false;
  for (std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
    if (text::StartsWithNoCase(url, scheme) && url.size() > scheme.size()) return true;
  }
  return false;
}

bool IsMailAddress(std::string_view address) noexcept {
  return !address.empty() && !HasBlankOrControl(address) && address.find('?') == std::string_view::npos;
}

bool FreeRAM::GoToURL(std::string_view url) const noexcept {
  if (!IsWebAddress(url)) return false;
  return CurrentPlatform().OpenDocument(nullptr, url, {}, SW_SHOWMAXIMIZED);
}

bool FreeRAM::eMail(std::string_view address) const noexcept {
  if (!IsMailAddress(address)) return false;
  try {
    return CurrentPlatform().OpenDocument(nullptr, "mailto:" + std::string(address), {}, SW_RESTORE);
  } catch (...) {
    return false;
  }
}

}  // namespace tarvix

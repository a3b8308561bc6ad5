#pragma once
// Sizes for freeing memory: the buffer is a text of space characters, two
// bytes each, and a request that cannot be claimed is retried once at half.
#include <cstdint>
#include <optional>

namespace tarvix {

// Bytes of a two-byte character per character of a freeing buffer.
inline constexpr std::uint64_t kFreeingCharBytes = 2;

// amount / 2 rounded to the nearest integer, ties to the even neighbour
// (5 gives 2, 7 gives 4, 1048577 gives 524288). `amount` is not negative.
[[nodiscard]] constexpr std::int64_t HalfRoundedToEven(std::int64_t amount) noexcept {
  const std::int64_t half = amount / 2;
  if (amount % 2 == 0) return half;
  return half % 2 == 0 ? half : half + 1;
}

// The bytes a buffer of `characters` characters occupies; nullopt when the
// count is negative or its byte size does not fit in 64 bits.
[[nodiscard]] constexpr std::optional<std::uint64_t> FreeingBufferBytes(std::int64_t characters) noexcept {
  if (characters < 0) return std::nullopt;
  const auto count = static_cast<std::uint64_t>(characters);
  if (count > UINT64_MAX / kFreeingCharBytes) return std::nullopt;
  return count * kFreeingCharBytes;
}

}  // namespace tarvix

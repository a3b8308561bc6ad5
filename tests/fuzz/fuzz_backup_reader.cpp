// Feeds arbitrary bytes to the backup reader. Whatever it accepts must read
// back the same after being written out again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "backup/BackupFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvix::backup;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)ParseHeader(text);
  const ParseResult result = Parse(text);
  if (result.contents) {
    const ParseResult again = Parse(Format(*result.contents));
    if (!again.contents || !(*again.contents == *result.contents)) std::abort();
  } else if (result.error.empty()) {
    std::abort();  // every refusal says why
  }
  (void)NumberFromBaseName(text);
  return 0;
}

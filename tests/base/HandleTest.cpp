// The one owning-handle type: every path that lets a handle go closes it
// exactly once, and "none" follows each handle kind's own failure value.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "base/Handle.h"

namespace tarvix {
namespace {

std::vector<int> closed;
void RecordClose(int* handle) noexcept { closed.push_back(*handle); }
using UniqueCounted = UniqueAny<NullHandlePolicy<int*, RecordClose>>;

TEST(Handle, ClosesOnceOnEveryWayOut) {
  closed.clear();
  int one = 1, two = 2, three = 3;
  {
    UniqueCounted a(&one);
    UniqueCounted b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), &one);
    b.reset(&one);  // the same handle again is not closed under it
    EXPECT_TRUE(closed.empty());
    b.reset(&two);
    EXPECT_EQ(closed, std::vector<int>({1}));
    UniqueCounted c(&three);
    c = std::move(b);  // c lets 3 go and takes 2
    EXPECT_EQ(closed, std::vector<int>({1, 3}));
    int* given = c.release();  // given away: not closed at the end
    EXPECT_EQ(given, &two);
    UniqueCounted d(&three);
    (void)d.put();  // an out-parameter closes what was held
    EXPECT_EQ(closed, std::vector<int>({1, 3, 3}));
  }
  EXPECT_EQ(closed, std::vector<int>({1, 3, 3}));
}

TEST(Handle, KernelAndFindHandlesTreatTheirFailureValuesAsNone) {
  const UniqueHandle empty;
  EXPECT_EQ(empty.get(), nullptr);
  EXPECT_FALSE(UniqueHandle(INVALID_HANDLE_VALUE));
  const UniqueFindHandle noFind;
  EXPECT_EQ(noFind.get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(noFind);

  UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  const HANDLE raw = event.get();
  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(raw, &flags));
  event.reset();
  EXPECT_FALSE(GetHandleInformation(raw, &flags));  // really closed

  WIN32_FIND_DATAA found{};
  const UniqueFindHandle none(FindFirstFileA("Z:\\no such folder here\\*", &found));
  EXPECT_FALSE(none);
}

}  // namespace
}  // namespace tarvix

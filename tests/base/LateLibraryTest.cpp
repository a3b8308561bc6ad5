#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <thread>

#include "base/LateLibrary.h"

namespace tarvix {
namespace {

using GetVersionInfoSize = DWORD(WINAPI*)(LPCSTR, LPDWORD);

TEST(LateLibrary, LoadsOnFirstUseAndAnswersNullForWhatIsMissing) {
  LateLibrary version("version.dll");
  EXPECT_FALSE(version.Loaded());
  const auto size = version.Function<GetVersionInfoSize>("GetFileVersionInfoSizeA");
  ASSERT_NE(size, nullptr);
  EXPECT_TRUE(version.Loaded());
  EXPECT_EQ(size, reinterpret_cast<GetVersionInfoSize>(reinterpret_cast<void*>(
                      GetProcAddress(GetModuleHandleA("version.dll"), "GetFileVersionInfoSizeA"))));
  EXPECT_EQ(version.Function<GetVersionInfoSize>("NoSuchExportOfVersion"), nullptr);

  LateLibrary missing("tarvix-no-such-library.dll");
  EXPECT_EQ(missing.Function<GetVersionInfoSize>("GetFileVersionInfoSizeA"), nullptr);
  EXPECT_EQ(missing.Function<GetVersionInfoSize>("GetFileVersionInfoSizeA"), nullptr);
  EXPECT_FALSE(missing.Loaded());
}

TEST(LateLibrary, ThreadsAskingAtOnceGetTheSameFunction) {
  LateLibrary version("version.dll");
  std::array<GetVersionInfoSize, 8> found{};
  std::array<std::thread, 8> threads;
  for (std::size_t i = 0; i < threads.size(); ++i) {
    threads[i] = std::thread([&, i] { found[i] = version.Function<GetVersionInfoSize>("GetFileVersionInfoSizeA"); });
  }
  for (auto& thread : threads) thread.join();
  for (const auto function : found) {
    EXPECT_NE(function, nullptr);
    EXPECT_EQ(function, found[0]);
  }
}

TEST(LateLibrary, TheProgramsLateLibrariesHaveWhatItCalls) {
  for (const char* name : {"IcmpCreateFile", "IcmpSendEcho", "IcmpCloseHandle", "GetBestInterface",
                           "GetAdaptersAddresses"}) {
    EXPECT_NE(IpHelperLibrary().Function<FARPROC>(name), nullptr) << name;
  }
  for (const char* name : {"WSAStartup", "WSACleanup", "gethostbyname"}) {
    EXPECT_NE(WinsockLibrary().Function<FARPROC>(name), nullptr) << name;
  }
  EXPECT_NE(WinmmLibrary().Function<FARPROC>("PlaySoundW"), nullptr);
}

}  // namespace
}  // namespace tarvix

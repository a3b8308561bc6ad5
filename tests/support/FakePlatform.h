#pragma once
// A recording platform for tests: message boxes answer as scripted and are
// remembered, and nothing restarts, starts, plays or ends for real.
#include <deque>
#include <string>
#include <vector>

#include "base/Platform.h"

namespace tarvix::testing {

struct ElevatedStart {
  HWND owner = nullptr;
  std::string program;
  std::string parameters;
};

struct MessageRecord {
  HWND owner = nullptr;
  std::string text;
  std::string title;
  UINT flags = 0;
};

class FakePlatform final : public Platform {
 public:
  FakePlatform() : installed_(*this) {}

  // Answers for the next message boxes, in order; then IDOK (or IDYES for a
  // Yes/No box).
  std::deque<int> answers;

  std::vector<MessageRecord> messages;
  std::vector<std::pair<UINT, DWORD>> exitRequests;
  std::vector<std::string> startedPrograms;
  std::vector<std::string> openedDocuments;
  std::vector<std::string> playedSounds;
  std::vector<UINT> endedWith;
  BOOL exitWindowsResult = TRUE;
  // Under Wine the process counts as elevated; a test sets false to run as a
  // standard user behind UAC.
  bool elevated = true;
  std::vector<ElevatedStart> elevatedStarts;
  // What StartElevated answers: ERROR_CANCELLED plays a declined prompt.
  DWORD startElevatedResult = ERROR_SUCCESS;

  int ShowMessage(HWND owner, std::string_view text, std::string_view title, UINT flags) noexcept override;
  BOOL RequestExitWindows(UINT flags, DWORD reason) noexcept override;
  UINT StartProgram(std::string_view commandLine, int show) noexcept override;
  bool OpenDocument(HWND owner, std::string_view target, std::string_view directory, int show) noexcept override;
  void PlaySoundFile(std::string_view path) noexcept override;
  void EndProcess(UINT exitCode) noexcept override;
  bool IsProcessElevated() noexcept override { return elevated; }
  DWORD StartElevated(HWND owner, std::string_view program, std::string_view parameters) noexcept override;

 private:
  ScopedPlatform installed_;
};

}  // namespace tarvix::testing

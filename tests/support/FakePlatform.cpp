#include "support/FakePlatform.h"

namespace tarvix::testing {

int FakePlatform::ShowMessage(HWND owner, std::string_view text, std::string_view title, UINT flags) noexcept {
  messages.push_back({owner, std::string(text), std::string(title), flags});
  if (!answers.empty()) {
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  const UINT buttons = flags & MB_TYPEMASK;
  return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

BOOL FakePlatform::RequestExitWindows(UINT flags, DWORD reason) noexcept {
  exitRequests.emplace_back(flags, reason);
  return exitWindowsResult;
}

UINT FakePlatform::StartProgram(std::string_view commandLine, int) noexcept {
  startedPrograms.emplace_back(commandLine);
  return 100;
}

bool FakePlatform::OpenDocument(HWND, std::string_view target, std::string_view, int) noexcept {
  openedDocuments.emplace_back(target);
  return true;
}

void FakePlatform::PlaySoundFile(std::string_view path) noexcept { playedSounds.emplace_back(path); }

void FakePlatform::EndProcess(UINT exitCode) noexcept { endedWith.push_back(exitCode); }

DWORD FakePlatform::StartElevated(HWND owner, std::string_view program, std::string_view parameters) noexcept {
  elevatedStarts.push_back({owner, std::string(program), std::string(parameters)});
  return startElevatedResult;
}

}  // namespace tarvix::testing

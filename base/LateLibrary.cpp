#include "base/LateLibrary.h"

#include <string>

namespace tarvix {

BOOL CALLBACK LateLibrary::LoadOnce(PINIT_ONCE /*once*/, PVOID self, PVOID* /*context*/) noexcept {
  auto* const library = static_cast<LateLibrary*>(self);
  // By full path, so that a DLL of the same name beside Tarvix.exe is never taken.
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  try {
    const std::string path = std::string(folder, length) + "\\" + library->fileName_;
    library->module_ = LoadLibraryA(path.c_str());
  } catch (...) {
  }
  return TRUE;
}

HMODULE LateLibrary::Module() noexcept {
  InitOnceExecuteOnce(&once_, &LateLibrary::LoadOnce, this, nullptr);
  return module_;
}

bool LateLibrary::Loaded() const noexcept {
  BOOL pending = FALSE;
  auto* const once = const_cast<INIT_ONCE*>(&once_);
  if (!InitOnceBeginInitialize(once, INIT_ONCE_CHECK_ONLY, &pending, nullptr)) return false;
  return module_ != nullptr;
}

LateLibrary& WinmmLibrary() noexcept {
  static LateLibrary library("winmm.dll");
  return library;
}

LateLibrary& IpHelperLibrary() noexcept {
  static LateLibrary library("iphlpapi.dll");
  return library;
}

LateLibrary& WinsockLibrary() noexcept {
  static LateLibrary library("ws2_32.dll");
  return library;
}

}  // namespace tarvix

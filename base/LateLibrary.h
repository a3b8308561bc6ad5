#pragma once
// System DLLs the program needs only now and then — sounds (winmm), pings and
// the largest-MTU search (iphlpapi), host lookup (ws2_32) — loaded on their
// first use instead of at start-up, where each would add its own loading
// time and pages to a program that mostly sits idle in the notification area.
#include <windows.h>

namespace tarvix {

class LateLibrary {
 public:
  // `fileName` is a DLL of the Windows system folder, loaded from there only.
  explicit constexpr LateLibrary(const char* fileName) noexcept : fileName_(fileName) {}
  LateLibrary(const LateLibrary&) = delete;
  LateLibrary& operator=(const LateLibrary&) = delete;

  // The DLL's export `name` as a `Fn`; null when the DLL or the export is
  // missing. The first call from any thread loads the DLL; a DLL that would
  // not load is not tried again.
  template <typename Fn>
  [[nodiscard]] Fn Function(const char* name) noexcept {
    const HMODULE module = Module();
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }

  // True once the DLL is loaded (tests).
  [[nodiscard]] bool Loaded() const noexcept;

 private:
  [[nodiscard]] HMODULE Module() noexcept;
  static BOOL CALLBACK LoadOnce(PINIT_ONCE once, PVOID self, PVOID* context) noexcept;

  const char* fileName_;
  INIT_ONCE once_ = INIT_ONCE_STATIC_INIT;
  // Stays loaded until the process ends, as an imported DLL would: a sound
  // may still be playing on winmm's own thread while the program exits.
  HMODULE module_ = nullptr;
};

// The program's late DLLs.
[[nodiscard]] LateLibrary& WinmmLibrary() noexcept;
[[nodiscard]] LateLibrary& IpHelperLibrary() noexcept;
[[nodiscard]] LateLibrary& WinsockLibrary() noexcept;

}  // namespace tarvix

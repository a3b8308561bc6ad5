// Tarvix start-up. The main window with its movie is not part of the program
// yet: until then a start classifies Windows, fills the optimizer's presets
// and says plainly what it found.
#include <windows.h>

#include <string>

#include "app/OsDetect.h"
#include "app/Platform.h"
#include "app/Version.h"
#include "optimizer/NetworkParameters.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tarvix;
  DetectOperatingSystem();
  LoadWizardPresets();
  std::string text = "Tarvix " TARVIX_VERSION_TEXT "\r\n\r\nWindows family: ";
  text += OsFamilyName(OsFamily);
  text += "\r\n\r\nThe main window is not built yet; this start stops here.";
  ShowProgramMessage(text, MB_OK | MB_ICONINFORMATION);
  return 0;
}

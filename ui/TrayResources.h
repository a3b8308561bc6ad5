#pragma once
// Resource ids of the notification icon, shared by the .rc file and the code
// (plain #defines so that windres reads them too).
#define IDI_TRAY 201

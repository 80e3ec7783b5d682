// The program: the Win32 backend under the portable core.
#include <windows.h>

#include "app/app.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
  sq::Win32Platform platform(inst);
  sq::App app(platform);
  return app.Run();
}

// The program: the Win32 backend under the portable core.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/app.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
  sq::Win32Platform platform(inst);
  sq::App app(platform);
  // For the end-to-end tests: with SQ_EVENT_TRACE naming a file, every
  // control event handed to a handler is appended to it, a line each.
  wchar_t path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"SQ_EVENT_TRACE", path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    const std::wstring file(path, n);
    app.eventTrace = [file](const std::string& line) {
      if (FILE* f = _wfopen(file.c_str(), L"ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fputs("\r\n", f);
        std::fclose(f);
      }
    };
  }
  return app.Run();
}

/* A program that imports RtlGenRandom by its export name, as the uninstaller
   once did: the import check must refuse it. Never run. */
#include <windows.h>

BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  unsigned char bytes[16];
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  return SystemFunction036(bytes, sizeof bytes) ? 0 : 1;
}

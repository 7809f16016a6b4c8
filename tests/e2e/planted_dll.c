// A DLL as a drive-by download might leave in a downloads folder, built under
// several names of DLLs that Windows looks for beside a program before the
// system folder. Loaded into a process, it records where it was loaded from
// and into which program, in the file that KESTREL_PLANT_RECORD names.
#include <windows.h>

#include <stdio.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char record[MAX_PATH], dll[MAX_PATH], program[MAX_PATH], line[2 * MAX_PATH + 4];
  if (!GetEnvironmentVariableA("KESTREL_PLANT_RECORD", record, sizeof record)) return TRUE;
  GetModuleFileNameA(self, dll, sizeof dll);
  GetModuleFileNameA(NULL, program, sizeof program);
  const int length = snprintf(line, sizeof line, "%s loaded into %s\r\n", dll, program);
  HANDLE file = CreateFileA(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    if (length > 0) WriteFile(file, line, (DWORD)length, &written, NULL);
    CloseHandle(file);
  }
  return TRUE;
}

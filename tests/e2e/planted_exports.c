// What a program that imports version.dll or comctl32.dll needs to start with
// the planted DLL in their place, so that its loading is recorded instead of
// the program failing before its first instruction. Every call fails. No
// Windows headers: they declare these names as imports.
#define PLANTED __declspec(dllexport) int __stdcall

PLANTED GetFileVersionInfoSizeA(const char* file, unsigned long* handle) {
  (void)file, (void)handle;
  return 0;
}

PLANTED GetFileVersionInfoA(const char* file, unsigned long handle, unsigned long size, void* data) {
  (void)file, (void)handle, (void)size, (void)data;
  return 0;
}

PLANTED VerQueryValueA(const void* block, const char* name, void** buffer, unsigned int* length) {
  (void)block, (void)name, (void)buffer, (void)length;
  return 0;
}

PLANTED InitCommonControlsEx(const void* controls) {
  (void)controls;
  return 0;
}

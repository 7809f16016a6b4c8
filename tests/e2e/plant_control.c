// The planting scenario's control: a program of the test's own that loads
// each DLL named on its command line by its name alone, as the controls, the
// shell and COM do, with nothing restricting the search. Started beside the
// planted DLLs, or in a working folder that holds them, it loads them: their
// record then shows that the planting, the overrides and the DLLs work. Its
// exit code is the number of names it could not load.
#include <windows.h>

int main(int argc, char** argv) {
  int failed = 0;
  for (int n = 1; n < argc; ++n) failed += LoadLibraryA(argv[n]) == NULL;
  return failed;
}

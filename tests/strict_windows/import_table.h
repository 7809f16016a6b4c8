#pragma once
// The program's imports, redirected to the layer's functions: its one import
// table (the programs under test are linked statically), and what it looks
// up at run time with GetProcAddress.
#include <windows.h>

struct Redirection {
  const char* dll;       // where the program finds the function
  const char* function;  // its exported name
  void* replacement;
};

// Every import of `program` from one of the redirections' DLLs that names a
// redirected function is made to call the replacement; the number changed.
int redirectImports(HMODULE program, const Redirection* redirections, size_t count);

// What GetProcAddress gives the program for `module`!`name`, `found` being
// the system's answer: the replacement when the function is redirected.
FARPROC redirectedAddress(HMODULE module, LPCSTR name, FARPROC found, const Redirection* redirections, size_t count);

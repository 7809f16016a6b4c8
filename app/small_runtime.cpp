// Two parts of the C++ runtime, replaced in the shipped programs because of
// what they would pull in: about 120 KB that every user downloads and that
// does nothing a user could see.
//
// - The runtime's verbose terminate handler writes the name of an uncaught
//   exception to stderr, which a windowed program has not, and needs the
//   whole symbol demangler and a printf to do it. Ours ends the program, as
//   the verbose one does once it has written.
// - The helpers through which the standard library throws build their
//   exception objects with a second string implementation and its own error
//   classes. Only an allocation that fails is caught, where the programs turn
//   it into an error code; those two still throw what they always threw. The
//   others mean a defect, which nothing catches: the program ends at once, as
//   it would have ended at the uncaught throw.
//
// Linked into ks3setup.exe and ksuninstall.exe as an object, so that the
// linker never takes the library's own definitions; it would then refuse the
// link for the duplicates rather than mix the two. The tests keep the verbose
// handler, so that a test that throws says what.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }

void __throw_bad_cast() { abort(); }
void __throw_bad_typeid() { abort(); }
void __throw_bad_exception() { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_domain_error(const char*) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_runtime_error(const char*) { abort(); }
void __throw_range_error(const char*) { abort(); }
void __throw_overflow_error(const char*) { abort(); }
void __throw_underflow_error(const char*) { abort(); }
}  // namespace std

#pragma once
// Given to every C++ file of the Windows builds (-include, CMakeLists.txt).
//
// Each program instantiates the std::string members it uses itself, instead
// of linking the runtime's copy of the whole class: that copy comes as one
// object whose unwind tables refer to every member, so the linker keeps all
// of them (its garbage collection of PE sections does not look inside
// .eh_frame), some 33 KB of which the setup program uses a fraction.
// -1 is the value that libstdc++ documents for this: "disallows extern
// templates only in basic_string". Its other explicit instantiations stay.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1

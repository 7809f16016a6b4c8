#pragma once
// The checks of the UI driver and of whatever drives a program through it: a
// check that does not hold throws ScenarioFailure, which names what was
// expected and what was found.
#include <stdexcept>
#include <string>
#include <vector>

// A check that did not hold. The driver then lists the program's windows,
// ends the program and fails.
class ScenarioFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void check(bool condition, const std::string& what);
void checkEqual(const std::string& actual, const std::string& expected, const std::string& what);
void checkEqual(long long actual, long long expected, const std::string& what);
void checkEqual(bool actual, bool expected, const std::string& what);
// Every line of `lines` on a line of its own, indented, or " nothing" when
// there is none: to follow a check's text.
std::string listed(const std::vector<std::string>& lines);

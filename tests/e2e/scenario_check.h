#pragma once
// The checks of the UI driver and of whatever drives a program through it: a
// check that does not hold throws ScenarioFailure, which names what was
// expected and what was found.
#include <functional>
#include <stdexcept>
#include <string>

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
// Polls `condition` until it holds; fails after a minute.
void waitUntil(const std::string& what, const std::function<bool()>& condition);

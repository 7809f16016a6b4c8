#pragma once
// How a run waits for another program to let go of a file: it tells the user
// what for, and keeps its window alive. No Windows headers.
#include <string>

class Waiting {
 public:
  virtual void waitFor(const std::string& path, unsigned long ms) = 0;

 protected:
  ~Waiting() = default;
};

// Waits without a window.
Waiting& quietWaiting();

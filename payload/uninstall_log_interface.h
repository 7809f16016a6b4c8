#pragma once
// UninstallerSetup: the uninstall log's interface, as the extractor and the installation write to it.

namespace Escort {

// The uninstall log: every change the installation makes, in order, committed
// to the uninstall registration once the installation has succeeded.
class UninstallerSetup {
 public:
  virtual bool addEvent(const char* command, const char* parameter, const char* description) = 0;
  // A folder the user chose for the installation (kDestinationsValue).
  virtual bool addDestination(const char* folder) = 0;
  // Writes the registration and destroys the object, whatever the result.
  virtual bool commit() = 0;

 protected:
  ~UninstallerSetup() = default;  // ends inside commit(), never deleted from outside
};

}  // namespace Escort

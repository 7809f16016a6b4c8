#pragma once
// Reads an uninstall registration back as the setup program committed it.
#include <string>
#include <vector>

#include "registry_key_state.h"
#include "uninstall_registration.h"

struct Registration {
  std::string displayName;
  // Where the registration says the uninstaller is; empty when it says nothing
  // readable, which does not stop a run.
  std::string uninstallString;
  std::vector<Escort::UninstallEvent> events;  // in the order they were logged
  // The folders the user chose (kDestinationsValue); none where the value is
  // missing or damaged, which does not stop a run.
  std::vector<std::string> destinations;
};

enum class RegistrationStatus { Found, Missing, Damaged };

// The registration key below HKEY_LOCAL_MACHINE for `productName`.
std::string registrationKey(const std::string& productName);

// Reads the registration key of `productName` (registrationKey, below
// HKEY_LOCAL_MACHINE): "DisplayName", "EscortEvents" and the three values of each
// event below that count; values of higher numbers, left over from an earlier
// installation, are not read. Plain HKEY_LOCAL_MACHINE access, so this program
// sees the registry view that the setup program, built for the same
// architecture, wrote into (a 32-bit program on 64-bit Windows, XP x64..11:
// the 32-bit view, through the WOW64 registry redirector, MSDN).
//
// Missing: no name, a name that cannot be one key name (it holds a '\'), or
// no such key. Damaged: a value that is missing or not what the setup program
// writes (text for the names and events, a 4-byte number for the count, no
// zero byte inside a text); `damagedValue` then names it.
RegistrationStatus readRegistration(const std::string& productName, Registration& registration,
                                    std::string& damagedValue);

// Every event that can be read of a registration key's `values` (as
// valuesOf reads them), in order, whatever else is damaged: those below
// "EscortEvents" when it can be read, else those of every number that has an
// "EscortTag" value. An event counts when its command and parameter can be
// read; a description that cannot is empty.
std::vector<Escort::UninstallEvent> readableEvents(const std::vector<SavedRegistryValue>& values);

// The folders of a registration key's `values` (kDestinationsValue); none
// when it is missing or not text.
std::vector<std::string> readableDestinations(const std::vector<SavedRegistryValue>& values);

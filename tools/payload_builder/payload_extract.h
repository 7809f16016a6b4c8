#pragma once
#include <string>

#include "payload_reader.h"

namespace PayloadTool {

// Takes the file stored under `archivePath` (written as lookups accept it:
// "/ks/ksuninstall.exe" finds "\ks\ksuninstall.exe") out of `payload` into
// `outFile`, so that what a setup program carries can be examined as it will
// be installed. The file is written only when the entry inflates to exactly
// its recorded size; otherwise `error` says why and nothing is written.
bool extractEntry(const PayloadReader& payload, const std::string& archivePath,
                  const std::string& outFile, std::string& error);

}  // namespace PayloadTool

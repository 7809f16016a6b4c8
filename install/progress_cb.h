#pragma once
#include <windows.h>

#include <cstdint>

#include "file_extractor_status.h"

// Turns the extractor's reports into messages posted to the progress page, so
// the worker never waits for the GUI thread. Lives on the worker's thread.
class ProgressCB : public Escort::FileExtractorStatus {
 public:
  explicit ProgressCB(HWND targetWindow);

  void postTotal(uint32_t total);

  void fileStarted(const char* archivePath, const char* destinationPath) override;
  void fileProgress(uint32_t compressedFed, uint32_t compressedSize, uint32_t inflated,
                    uint32_t uncompressedSize) override;
  void fileFinished() override;
  void fileFailed(const char* path, unsigned long error) override;
  // Asks the page, and waits for its answer.
  bool fileInUse(const char* path) override;

 private:
  HWND targetWindow;
  // The worker's own record of the file it is on, cut to fit: where a stopped
  // run stood, for a debugger. The page gets its own full copy with each
  // WM_INSTALL_FILE (install_messages.h), never this buffer.
  char currentName[MAX_PATH];
};

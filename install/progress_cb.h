#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "file_extractor_status.h"
#include "install_messages.h"

// Turns the extractor's reports into messages posted to the progress page, so
// the worker never waits for the GUI thread (install_messages.h): at most one
// report in each `interval` of milliseconds, the page's own redrawing rate
// (0: a message for every report, for a close look at a run). Lives on the
// worker's thread.
class ProgressCB : public Escort::FileExtractorStatus {
 public:
  explicit ProgressCB(HWND targetWindow, DWORD interval = kProgressReportInterval);

  void postTotal(uint32_t total);
  // How far the run came, whenever the last report was: at its end.
  void postWritten();

  void fileStarted(const char* archivePath, const char* destinationPath) override;
  void fileProgress(uint32_t compressedFed, uint32_t compressedSize, uint32_t inflated,
                    uint32_t uncompressedSize) override;
  void fileFinished() override;
  void fileFailed(const Failure& failure) override;
  // Asks the page, and waits for its answer.
  bool fileInUse(const char* path) override;

 private:
  void postWhenDue();
  void postFileName();

  HWND targetWindow;
  DWORD interval;
  DWORD lastReport;
  // The file the worker is on, and whether the page was told of it.
  std::string currentFile;
  bool named = false;
  uint32_t finishedBytes = 0;  // of the files written whole
  uint32_t currentBytes = 0;   // of the file being written
};

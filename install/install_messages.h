#pragma once
// The messages the installation worker posts to the progress page, and the
// hand-over of the file name that WM_INSTALL_FILE carries. The page redraws
// at most every 50 ms, so the worker reports about as often, not for every
// file and every block it writes: under Wine 8.0 each message is a trip through
// the server, for the worker and for the page, and thousands of them cost
// more than the files.
#include <windows.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "failure.h"

// wParam: bytes the whole run will produce (unsigned 32-bit). lParam: 0.
constexpr UINT WM_INSTALL_TOTAL = WM_USER + 0x100;
// The file now being written, when the last report is long enough ago (and
// always before a WM_INSTALL_PROGRESS while it is written, or a failure of
// it). wParam: 0. lParam: the file, to be taken with takeAnnouncedFile.
constexpr UINT WM_INSTALL_FILE = WM_USER + 0x101;
// How far the run has come, when the last report is long enough ago, and
// once at its end. wParam: the bytes written so far, of all files (unsigned
// 32-bit). lParam: 0.
constexpr UINT WM_INSTALL_PROGRESS = WM_USER + 0x103;
// wParam: the result, kInstallSucceeded or a failure code. lParam: 0.
constexpr UINT WM_INSTALL_DONE = WM_USER + 0x104;
// Before a failure's WM_INSTALL_DONE: what failed, where and why. wParam: 0.
// lParam: the Failure, to be taken with takeAnnouncedFailure.
constexpr UINT WM_INSTALL_FAILED = WM_USER + 0x105;
// A file that another program holds. wParam: 0. lParam: the worker's
// FileInUseQuestion, which the page answers and then sets `answered`; the
// worker waits for that.
constexpr UINT WM_INSTALL_FILE_IN_USE = WM_USER + 0x106;

struct FileInUseQuestion {
  std::string path;
  HANDLE answered;
  bool retry = false;
};

// How long the worker waits at least from one report to the next.
constexpr DWORD kProgressReportInterval = 40;  // milliseconds

// Results in WM_INSTALL_DONE besides the extractor's own codes, which pass
// through unchanged (and 4 is also its code for a missing chunk, which comes
// with its WM_INSTALL_FAILED: a payload that cannot be opened comes without).
constexpr int kInstallSucceeded = 0;
constexpr int kPayloadNotOpened = 4;

// The name in WM_INSTALL_FILE is a heap copy of the whole destination path,
// made for that one message. A single buffer in the worker would be rewritten
// by the next file, or gone with the worker's thread, before the page reads
// it; a copy per message always names the file the message announced, at any
// length. The receiver owns it once the message is delivered (the page
// handles every message up to WM_INSTALL_DONE, which comes last, so none is
// left behind); the sender frees it at once when posting fails. Zero when
// there was no memory for it.
inline LPARAM copyAnnouncedFile(const char* path) {
  const size_t size = std::strlen(path) + 1;
  char* copy = new (std::nothrow) char[size];
  if (copy) std::memcpy(copy, path, size);
  return reinterpret_cast<LPARAM>(copy);
}

// The path a WM_INSTALL_FILE carried; frees its copy. Call once per message.
inline std::string takeAnnouncedFile(LPARAM announced) {
  std::unique_ptr<char[]> copy(reinterpret_cast<char*>(announced));
  return copy ? std::string(copy.get()) : std::string();
}

// The failure in WM_INSTALL_FAILED, handed over as the file name is: a heap
// copy the receiver owns once the message is delivered; zero without memory.
inline LPARAM copyAnnouncedFailure(const Failure& failure) {
  return reinterpret_cast<LPARAM>(new (std::nothrow) Failure(failure));
}

// The failure a WM_INSTALL_FAILED carried; frees its copy.
inline Failure takeAnnouncedFailure(LPARAM announced) {
  std::unique_ptr<Failure> copy(reinterpret_cast<Failure*>(announced));
  return copy ? *copy : Failure();
}

#pragma once
// Where in the program something failed: each place that can fail has a
// number of its own, shown with Windows' text under a failure message, so
// that a user's report says which step of which program met which error.
// The numbers are never reused: a number that goes, goes for good.
enum class FailureSite : int {
  Unknown = 0,
  // Before anything changes.
  DestinationMissingDrive = 101,
  DestinationNotLocal = 102,
  DestinationTooLong = 103,
  DestinationNotFolder = 104,
  DestinationOverlap = 105,
  // The journal.
  JournalCreate = 201,
  JournalRecord = 202,
  JournalFlush = 203,
  JournalRead = 204,
  // Settings and shortcuts.
  SettingsWrite = 301,
  ShortcutsFolder = 302,
  ShortcutsLinkObject = 303,
  ShortcutSave = 304,
  ShortcutPrepare = 305,
  // The worker and the extractor.
  WorkerStart = 401,
  PayloadNotOpened = 402,
  EntryMissing = 403,
  FolderMake = 404,
  FolderInTheWay = 405,
  OutputCreate = 406,
  OutputExists = 407,
  KeptCopyName = 408,
  RenameAside = 409,
  PlaceFromTemporary = 410,
  TemporaryCreate = 411,
  ChunkMissing = 412,
  ChunkLoad = 413,
  ChunkLock = 414,
  InflateInit = 415,
  InflateData = 416,
  Write = 417,
  Close = 418,
  EarlierFileGone = 419,
  NoMemory = 420,
  // The commit.
  FlushFiles = 501,
  RegistrationWrite = 502,
  RegistrationDetails = 503,
  CommitRecord = 504,
  // Taking back and finishing.
  TakeBackDelete = 601,
  TakeBackRestore = 602,
  TakeBackFolder = 603,
  TakeBackKey = 604,
  DriveMissing = 605,
  DiscardKeptCopy = 606,
  TakeBackLink = 607,
  // Uninstalling.
  UninstallDelete = 701,
  UninstallFolder = 702,
  UninstallKey = 703,
  UninstallRegistration = 704,
  UninstallFlush = 705,
  UninstallRecord = 706,
};

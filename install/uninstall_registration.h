#pragma once
// The uninstall registration as the setup program writes it and the uninstaller
// reads it back: the key and the value names (the command words of the events
// are in uninstall_commands.h). No Windows headers.
#include <string>

namespace Escort {

// One change to undo: a command word the uninstaller program knows, what it
// acts on, and the text it shows meanwhile.
struct UninstallEvent {
  std::string command;
  std::string parameter;
  std::string description;
};

// Below HKEY_LOCAL_MACHINE; the product name follows as the last level.
constexpr const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

constexpr const char kDisplayNameValue[] = "DisplayName";
constexpr const char kUninstallStringValue[] = "UninstallString";
constexpr const char kDescriptionValue[] = "EscortDescription";
constexpr const char kEventCountValue[] = "EscortEvents";
// Event n is held in these three values with n appended in decimal.
constexpr const char kEventTagPrefix[] = "EscortTag";
constexpr const char kEventParamsPrefix[] = "EscortParams";
constexpr const char kEventDescPrefix[] = "EscortDesc";
// The folders the user chose for the installations the events undo (the
// program directory, each simulator's folder), each with its backslash,
// separated by '|', which no path holds. Below them the uninstaller follows
// no link (link_guard.h).
constexpr const char kDestinationsValue[] = "EscortFolders";
constexpr char kDestinationSeparator = '|';
// Kilobytes of the files the events would delete, for Windows' list of programs.
constexpr const char kEstimatedSizeValue[] = "EstimatedSize";

}  // namespace Escort

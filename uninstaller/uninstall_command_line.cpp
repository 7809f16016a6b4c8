#include "uninstall_command_line.h"

#include "text_format.h"

namespace {

const char kCopyMarker[] = "\\working-copy";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && isBlank(text[first])) ++first;
  while (last > first && isBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// Whether `text` starts with `word` (ignoring case, as Windows file names do)
// followed by a blank or the end.
bool startsWithWord(const std::string& text, const std::string& word) {
  if (word.empty() || !equalsIgnoringCase(text.substr(0, word.size()), word)) return false;
  return text.size() == word.size() || isBlank(text[word.size()]);
}

// Where the arguments begin in a command line that starts with the program.
size_t argumentsStart(const std::string& commandLine, const std::string& modulePath) {
  if (commandLine.empty()) return 0;
  if (commandLine[0] == '"') {
    const size_t closing = commandLine.find('"', 1);
    return closing == std::string::npos ? commandLine.size() : closing + 1;
  }
  // Windows XP..11 also start "...\ksuninstall Kestrel 3": CreateProcess adds
  // ".exe" to a module name without an extension (MSDN).
  std::string withoutExtension = modulePath;
  const size_t dot = withoutExtension.rfind('.');
  const size_t last = lastBackslash(withoutExtension);
  if (dot != std::string::npos && (last == std::string::npos || dot > last)) withoutExtension.erase(dot);
  for (const std::string& program : {modulePath, withoutExtension}) {
    if (startsWithWord(commandLine, program)) return program.size();
  }
  size_t end = 0;
  while (end < commandLine.size() && !isBlank(commandLine[end])) ++end;
  return end;
}

}  // namespace

UninstallCommandLine parseUninstallCommandLine(const std::string& commandLine,
                                               const std::string& modulePath) {
  const std::string line = trimmed(commandLine);
  UninstallCommandLine parsed;
  parsed.productName = trimmed(line.substr(argumentsStart(line, modulePath)));

  const std::string& rest = parsed.productName;
  const size_t marker = sizeof kCopyMarker - 1;
  // Exactly as the original writes it, then a blank.
  if (rest.compare(0, marker, kCopyMarker) != 0 || rest.size() == marker || !isBlank(rest[marker])) return parsed;
  parsed.isCopy = true;
  parsed.productName = trimmed(rest.substr(marker));
  return parsed;
}

std::string uninstallerPathOf(const std::string& uninstallString, const std::string& productName) {
  const std::string command = trimmed(uninstallString);
  if (!command.empty() && command[0] == '"') {
    const size_t closing = command.find('"', 1);
    return closing == std::string::npos ? std::string() : command.substr(1, closing - 1);
  }
  const std::string suffix = ' ' + productName;
  if (productName.empty() || command.size() <= suffix.size() ||
      command.compare(command.size() - suffix.size(), suffix.size(), suffix) != 0)
    return std::string();
  return trimmed(command.substr(0, command.size() - suffix.size()));
}

std::string copyCommandLine(const std::string& copyPath, const std::string& productName) {
  return '"' + copyPath + "\" " + kCopyMarker + ' ' + productName;
}

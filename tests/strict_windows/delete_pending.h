#pragma once
// Files being deleted. Deleted while another handle holds them (a virus
// scanner, the indexer, a preview that shares deleting), Windows keeps their
// names until the last handle closes; meanwhile every opening of them fails
// with ERROR_ACCESS_DENIED, and so do deleting them again, renaming them and
// renaming another file over them. Wine keeps the name too, but lets
// everything else through. The layer notes each file that a program deleted
// and that is still there, in the shared state, with the file's identity, so
// that a new file by that name is never taken for it.
#include <string>

// Whether the file at `fullPath` is being deleted; if so the last error is
// ERROR_ACCESS_DENIED. Always no when the layer does not keep deletions
// pending in this run.
bool refusedAsDeletePending(const std::string& fullPath);

// After a deletion that succeeded: a file still there is being deleted.
void noteDeletion(const std::string& fullPath);

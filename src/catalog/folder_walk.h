// Depth-first walk of a folder tree for the folder scan.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

// root: the walk's root ending with "/"; relative: the folder below it, each level
// followed by "/" (empty at the root); name: the entry's name; isFolder: a folder.
using FolderWalkCallback = std::function<void(const std::string& root, const std::string& relative,
                                              const std::string& name, bool isFolder)>;

// Deepest folder level below the root that is searched.
constexpr size_t kMaxFolderDepth = 40;

// Calls `callback` for every entry of the tree below `root`, in the order the file system
// returns them. Skipped: names starting with "." (hidden), entries that are neither
// folders nor regular files (sockets, pipes, devices: opening a pipe would block the
// scan), dangling links. Symbolic links are followed, but a folder (device, inode) is
// entered only once, so a link loop ends. Folders 41 levels below the root are still
// reported but not entered: their content is not part of the catalog. Folders that cannot
// be opened or vanish during the walk are skipped.
// Returns false only when `root` is not an existing folder.
bool FindFilesRecursive(const std::filesystem::path& root, const FolderWalkCallback& callback);

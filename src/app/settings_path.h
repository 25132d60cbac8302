// Where the settings file lies: Veltrix.ini in the working folder when one is there (a portable
// set-up, and how the tests and run.sh keep theirs), otherwise in the user's configuration folder
// ($XDG_CONFIG_HOME/veltrix, by default ~/.config/veltrix), so that a program started from the
// desktop menu never writes into the home folder itself.
#pragma once

#include <filesystem>

// The rule above as a plain function. `xdgConfigHome` and `home` may be null (unset); a relative
// or empty value is ignored, as the base-directory rules ask. An empty result means no usable
// place: every key then reads as its default and writes fail harmlessly.
std::filesystem::path ChooseIniPath(const std::filesystem::path& workingDir, const char* xdgConfigHome,
                                    const char* home);

// The rule applied to this process: its working folder, $XDG_CONFIG_HOME, and $HOME or, when
// HOME is unset or empty, the home folder of the user's account.
std::filesystem::path IniPathOfProcess();

// Creates the missing folders above `file` (each private to the user, 0700). True when the
// folder exists afterwards.
bool MakeParentFolders(const std::filesystem::path& file);

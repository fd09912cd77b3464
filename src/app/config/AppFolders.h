// Where the program finds its data and keeps its per-user state: the program
// folder (config.xml, language/, device/, skins/), the skin folder, the user
// data folder and the settings file. Every folder path ends with '/'.
#pragma once

#include <string>

namespace quorvik {

// Folder of the running executable when it holds config.xml, otherwise the
// installed data folder (<prefix>/share/quorvik/). An override set with
// setProgramFolderOverride takes precedence.
std::string ProgramFolder();

// Points ProgramFolder at another folder (tests, portable runs). An empty text
// removes the override. A missing trailing '/' is added.
void setProgramFolderOverride(const std::string& folder);

// ProgramFolder + "skins/" + the toolkit's theme + "/".
std::string SkinFolder();

// $XDG_DATA_HOME (default ~/.local/share) + "/" + device name + " Files/".
std::string UserDataFolder();

// $XDG_CONFIG_HOME (default ~/.config) + "/" + device name + "/settings.conf":
// the file that holds the program's own values ("LCID", "exit_mode"...).
std::string settingsFilePath();

// The device name made safe as one path component: '/' and NUL become '_',
// and a name that is empty, "." or ".." gets a leading '_' so it can never
// name the parent folder itself.
std::string devicePathComponent(const std::string& deviceName);

}  // namespace quorvik

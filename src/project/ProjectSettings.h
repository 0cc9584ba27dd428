// The editor's settings: the two settings stores (current and legacy) and the project's
// "GMK_RT.ini".
#pragma once

#include "platform/ProfileFile.h"

#include <string>

namespace quillon {

// The two stores: "Corvane/Quillon.ini" (current settings) and "Pellor/Quillon.ini" (the RTP
// path and the main window's placement) under the user's config folder, or under the folder
// named by QUILLON_CONFIG_DIR. Values lie outside any section. Every write is flushed at once.
class TSettingsStores {
public:
    explicit TSettingsStores(const std::string& configFolder);
    TProfileFile Current;
    TProfileFile Legacy;
};

// The config folder in use, ending in '/'.
std::string ConfigFolder();
// The program-wide stores, opened on first use. The functions below may be called from any
// thread (each holds the stores' lock); the stores themselves are the user-interface thread's.
TSettingsStores& SettingsStores();
// Opens the stores again from the config folder (after QUILLON_CONFIG_DIR changed).
void ReopenSettingsStores();

// The RTP folder ending in '/', or empty when there is none. When the stored path is empty and a
// folder "RTP" lies beside the editor, that folder is the answer and is stored.
std::string GetRtpPath();
void SetRtpPath(const std::string& path);
void SetApplicationPath(const std::string& path);
// The folder new projects go to when none is stored: the editor's own folder, unless the user
// cannot write there (an installed editor); then the "Quillon Projects" folder in `home`.
std::string DefaultProjectBasePath(const std::string& appPath, const std::string& home);
// The stored base path, else DefaultProjectBasePath for this user (the fallback folder is made
// when it is missing).
std::string GetProjectBasePath();
void SetProjectBasePath(const std::string& path);
// What the new-project dialog says about its base path: why it is the fallback folder in the
// home folder, or nothing.
std::string ProjectBasePathNote(const std::string& basePath);
std::string GetOpenedProjectFolder();
void SetOpenedProjectFolder(const std::string& folder);
bool GetFullScreenFlag();
void SetFullScreenFlag(bool on);
bool GetShowTitleFlag();
void SetShowTitleFlag(bool on);
bool GetIncludeRtpOption();
void SetIncludeRtpOption(bool on);
std::string GetMaterialPath();
void SetMaterialPath(const std::string& path);
// The command that starts the game runtime when it cannot run directly here (e.g. "wine").
std::string GetRuntimeLauncher();

// "GMK_RT.ini" of a project folder ("." is the open project).
inline constexpr const char* kProjectIniName = "GMK_RT.ini";
inline constexpr const char* kProjectIniSection = "GMK_RT";
std::string ReadGameTitle(const std::string& folder);
void WriteGameTitle(const std::string& folder, const std::string& title);
int ReadMapEditMode(const std::string& folder);
int ReadMapEditZoom(const std::string& folder);
void WriteMapEditState(const std::string& folder, int mode, int zoom);
// Why a project's "GMK_RT.ini" could not be read whole; empty when it was read or is absent.
// Such a file is kept as it is: nothing is ever written into it.
std::string ProjectIniReadError(const std::string& folder);
// FullPackageFlag of the open project's "GMK_RT.ini": "1" while on, no key while off.
void SetFullPackageFlag(bool on);

}  // namespace quillon

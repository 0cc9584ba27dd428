#include "project/ProjectSettings.h"

#include "project/PathUtils.h"
#include "project/ProjectManager.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

const std::string kNoSection;

// The stores are opened on first use, which may come from any thread (the render workers look
// resources up through the RTP path); every look-up and write holds this lock.
std::mutex& StoresMutex() {
    static std::mutex mutex;
    return mutex;
}

std::unique_ptr<TSettingsStores>& StoresHolder() {
    static std::unique_ptr<TSettingsStores> stores;
    return stores;
}

// The stores, opened when they are not yet; the caller holds StoresMutex().
TSettingsStores& LockedStores() {
    auto& stores = StoresHolder();
    if (!stores)
        stores = std::make_unique<TSettingsStores>(ConfigFolder());
    return *stores;
}

std::string ReadCurrent(const char* name, const std::string& defaultValue) {
    const std::lock_guard<std::mutex> lock(StoresMutex());
    return LockedStores().Current.ReadString(kNoSection, name, defaultValue);
}

bool ReadCurrentBool(const char* name, bool defaultValue) {
    const std::lock_guard<std::mutex> lock(StoresMutex());
    return LockedStores().Current.ReadBool(kNoSection, name, defaultValue);
}

std::string IniPath(const std::string& folder) {
    return IncludeTrailingDelimiter(folder) + kProjectIniName;
}

void WriteCurrent(const char* name, const std::string& value) {
    const std::lock_guard<std::mutex> lock(StoresMutex());
    TProfileFile& store = LockedStores().Current;
    store.WriteString(kNoSection, name, value);
    store.Flush();
}

}  // namespace

TSettingsStores::TSettingsStores(const std::string& configFolder)
    : Current(configFolder + "Corvane/Quillon.ini"), Legacy(configFolder + "Pellor/Quillon.ini") {
    // The stores' folders are created when missing, as the registry keys are.
    for (const char* sub : {"Corvane", "Pellor"}) {
        std::error_code error;
        std::filesystem::create_directories(configFolder + sub, error);
    }
}

std::string ConfigFolder() {
    if (const char* dir = std::getenv("QUILLON_CONFIG_DIR"); dir && *dir)
        return IncludeTrailingDelimiter(dir);
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return IncludeTrailingDelimiter(xdg);
    if (const char* home = std::getenv("HOME"); home && *home)
        return IncludeTrailingDelimiter(home) + ".config/";
    return GetTempFolder();
}

TSettingsStores& SettingsStores() {
    const std::lock_guard<std::mutex> lock(StoresMutex());
    return LockedStores();
}

void ReopenSettingsStores() {
    auto stores = std::make_unique<TSettingsStores>(ConfigFolder());
    const std::lock_guard<std::mutex> lock(StoresMutex());
    StoresHolder() = std::move(stores);
}

std::string GetRtpPath() {
    const std::lock_guard<std::mutex> lock(StoresMutex());
    TProfileFile& legacy = LockedStores().Legacy;
    std::string path = legacy.ReadString(kNoSection, "RuntimePackagePath", "");
    if (path.empty()) {
        const std::string beside = GetAppPath() + "RTP";
        if (FolderExists(beside)) {
            path = beside;
            legacy.WriteString(kNoSection, "RuntimePackagePath", path);
            legacy.Flush();
        }
    }
    return path.empty() ? path : IncludeTrailingDelimiter(path);
}

void SetRtpPath(const std::string& path) {
    const std::lock_guard<std::mutex> lock(StoresMutex());
    TProfileFile& legacy = LockedStores().Legacy;
    legacy.WriteString(kNoSection, "RuntimePackagePath", path);
    legacy.Flush();
}

void SetApplicationPath(const std::string& path) { WriteCurrent("ApplicationPath", path); }

namespace {

constexpr const char* kFallbackBaseFolder = "Quillon Projects";

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home != nullptr ? home : "";
}

bool Writable(const std::string& folder) { return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0; }

}  // namespace

std::string DefaultProjectBasePath(const std::string& appPath, const std::string& home) {
    if (Writable(appPath) || home.empty())
        return IncludeTrailingDelimiter(appPath);
    return IncludeTrailingDelimiter(IncludeTrailingDelimiter(home) + kFallbackBaseFolder);
}

std::string GetProjectBasePath() {
    const std::string fallback = DefaultProjectBasePath(GetAppPath(), HomeFolder());
    const std::string path = IncludeTrailingDelimiter(ReadCurrent("ProjectBasePath", fallback));
    if (path == fallback && path != IncludeTrailingDelimiter(GetAppPath()))
        ::mkdir(path.c_str(), 0777);  // an existing folder stays as it is
    return path;
}

std::string ProjectBasePathNote(const std::string& basePath) {
    const std::string app = IncludeTrailingDelimiter(GetAppPath());
    if (Writable(app) || basePath != DefaultProjectBasePath(app, HomeFolder()))
        return "";
    return "The editor's folder cannot be written, so new projects go to \"" + std::string(kFallbackBaseFolder) +
           "\" in your home folder.";
}

void SetProjectBasePath(const std::string& path) { WriteCurrent("ProjectBasePath", IncludeTrailingDelimiter(path)); }

std::string GetOpenedProjectFolder() {
    return ReadCurrent("OpenedProjectFolder", GetAppPath());
}

void SetOpenedProjectFolder(const std::string& folder) { WriteCurrent("OpenedProjectFolder", folder); }

bool GetFullScreenFlag() { return ReadCurrentBool("FullScreenFlag", true); }
void SetFullScreenFlag(bool on) { WriteCurrent("FullScreenFlag", on ? "1" : "0"); }
bool GetShowTitleFlag() { return ReadCurrentBool("ShowTitleFlag", false); }
void SetShowTitleFlag(bool on) { WriteCurrent("ShowTitleFlag", on ? "1" : "0"); }
bool GetIncludeRtpOption() { return ReadCurrentBool("IncludeRtpOption", false); }
void SetIncludeRtpOption(bool on) { WriteCurrent("IncludeRtpOption", on ? "1" : "0"); }
std::string GetMaterialPath() { return ReadCurrent("MaterialPath", ""); }
void SetMaterialPath(const std::string& path) { WriteCurrent("MaterialPath", path); }
std::string GetRuntimeLauncher() { return ReadCurrent("RuntimeLauncher", ""); }

std::string ReadGameTitle(const std::string& folder) {
    return TProfileFile(IniPath(folder)).ReadString(kProjectIniSection, "GameTitle", "Untitled");
}

void WriteGameTitle(const std::string& folder, const std::string& title) {
    TProfileFile ini(IniPath(folder));
    ini.WriteString(kProjectIniSection, "GameTitle", title);
    ini.Flush();
}

int ReadMapEditMode(const std::string& folder) {
    return TProfileFile(IniPath(folder)).ReadInteger(kProjectIniSection, "MapEditMode", 0);
}

int ReadMapEditZoom(const std::string& folder) {
    return TProfileFile(IniPath(folder)).ReadInteger(kProjectIniSection, "MapEditZoom", 0);
}

void WriteMapEditState(const std::string& folder, int mode, int zoom) {
    TProfileFile ini(IniPath(folder));
    ini.WriteInteger(kProjectIniSection, "MapEditMode", mode);
    ini.WriteInteger(kProjectIniSection, "MapEditZoom", zoom);
    ini.Flush();
}

std::string ProjectIniReadError(const std::string& folder) { return TProfileFile(IniPath(folder)).ReadError(); }

void SetFullPackageFlag(bool on) {
    TProfileFile ini(IniPath(ProjectPath()));
    if (on)
        ini.WriteString(kProjectIniSection, "FullPackageFlag", "1");
    else
        ini.DeleteKey(kProjectIniSection, "FullPackageFlag");
    ini.Flush();
}

}  // namespace quillon

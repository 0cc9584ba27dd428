#include "project/ProjectSettings.h"

#include "project/PathUtils.h"
#include "project/ProjectManager.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace quillon {

namespace {

const std::string kNoSection;

std::unique_ptr<TSettingsStores>& StoresHolder() {
    static std::unique_ptr<TSettingsStores> stores;
    return stores;
}

std::string IniPath(const std::string& folder) {
    return IncludeTrailingDelimiter(folder) + kProjectIniName;
}

void WriteCurrent(const char* name, const std::string& value) {
    TProfileFile& store = SettingsStores().Current;
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
    auto& stores = StoresHolder();
    if (!stores)
        stores = std::make_unique<TSettingsStores>(ConfigFolder());
    return *stores;
}

void ReopenSettingsStores() {
    StoresHolder() = std::make_unique<TSettingsStores>(ConfigFolder());
}

std::string GetRtpPath() {
    TProfileFile& legacy = SettingsStores().Legacy;
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
    TProfileFile& legacy = SettingsStores().Legacy;
    legacy.WriteString(kNoSection, "RuntimePackagePath", path);
    legacy.Flush();
}

void SetApplicationPath(const std::string& path) { WriteCurrent("ApplicationPath", path); }

std::string GetProjectBasePath() {
    return IncludeTrailingDelimiter(SettingsStores().Current.ReadString(kNoSection, "ProjectBasePath", GetAppPath()));
}

void SetProjectBasePath(const std::string& path) { WriteCurrent("ProjectBasePath", IncludeTrailingDelimiter(path)); }

std::string GetOpenedProjectFolder() {
    return SettingsStores().Current.ReadString(kNoSection, "OpenedProjectFolder", GetAppPath());
}

void SetOpenedProjectFolder(const std::string& folder) { WriteCurrent("OpenedProjectFolder", folder); }

bool GetFullScreenFlag() { return SettingsStores().Current.ReadBool(kNoSection, "FullScreenFlag", true); }
void SetFullScreenFlag(bool on) { WriteCurrent("FullScreenFlag", on ? "1" : "0"); }
bool GetShowTitleFlag() { return SettingsStores().Current.ReadBool(kNoSection, "ShowTitleFlag", false); }
void SetShowTitleFlag(bool on) { WriteCurrent("ShowTitleFlag", on ? "1" : "0"); }
bool GetIncludeRtpOption() { return SettingsStores().Current.ReadBool(kNoSection, "IncludeRtpOption", false); }
void SetIncludeRtpOption(bool on) { WriteCurrent("IncludeRtpOption", on ? "1" : "0"); }
std::string GetMaterialPath() { return SettingsStores().Current.ReadString(kNoSection, "MaterialPath", ""); }
void SetMaterialPath(const std::string& path) { WriteCurrent("MaterialPath", path); }
std::string GetRuntimeLauncher() { return SettingsStores().Current.ReadString(kNoSection, "RuntimeLauncher", ""); }

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

void SetFullPackageFlag(bool on) {
    TProfileFile ini(IniPath(ProjectPath()));
    if (on)
        ini.WriteString(kProjectIniSection, "FullPackageFlag", "1");
    else
        ini.DeleteKey(kProjectIniSection, "FullPackageFlag");
    ini.Flush();
}

}  // namespace quillon

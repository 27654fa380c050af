#include "record/product_entry.h"

#include <cstring>

#include "fileops/bounded_text.h"
#include "fileops/join_path.h"
#include "record/release_identity.h"

const char kProductEntryKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SmartCardReaderSupport";

namespace {

// "YYYYMMDD" and its terminator, with room to spare.
const int kInstallDateCapacity = 16;

const char kDisplayName[] = "Obsługa czytnika kart mikroprocesorowych w przeglądarkach internetowych";
// Room for a quoted path and a switch or two.
const int kCommandCapacity = kPathCapacity + 32;

LONG SetText(HKEY key, const char *name, const char *text) {
    DWORD size = static_cast<DWORD>(std::strlen(text)) + 1; // with its terminator
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text), size);
}

LONG SetNumber(HKEY key, const char *name, DWORD number) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
}

} // namespace

bool WriteProductEntry(const char *folder, const char *keptInstaller, DWORD estimatedSizeKb, LONG *error) {
    char version[kReleaseVersionCapacity];
    FormatReleaseVersion(version, sizeof version);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char installDate[kInstallDateCapacity];
    char uninstall[kCommandCapacity];
    char quietUninstall[kCommandCapacity];
    char icon[kCommandCapacity];
    if (!FormatText(installDate, sizeof installDate, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay) ||
        !FormatText(uninstall, sizeof uninstall, "\"%s\" /RESTORE", keptInstaller) ||
        !FormatText(quietUninstall, sizeof quietUninstall, "\"%s\" /S /RESTORE", keptInstaller) ||
        !FormatText(icon, sizeof icon, "%s,0", keptInstaller)) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    HKEY key;
    *error = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductEntryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                             nullptr, &key, nullptr);
    if (*error != ERROR_SUCCESS) return false;
    struct TextValue {
        const char *name;
        const char *text;
    };
    const TextValue texts[] = {
        {"DisplayName", kDisplayName},       {"DisplayVersion", version},         {"Publisher", kReleasePublisher},
        {"InstallDate", installDate},        {"InstallLocation", folder},         {"DisplayIcon", icon},
        {"UninstallString", uninstall},      {"QuietUninstallString", quietUninstall},
    };
    for (const TextValue &value : texts)
        if (*error == ERROR_SUCCESS) *error = SetText(key, value.name, value.text);
    if (*error == ERROR_SUCCESS) *error = SetNumber(key, "EstimatedSize", estimatedSizeKb);
    if (*error == ERROR_SUCCESS) *error = SetNumber(key, "NoModify", 1);
    if (*error == ERROR_SUCCESS) *error = SetNumber(key, "NoRepair", 1);
    RegCloseKey(key);
    return *error == ERROR_SUCCESS;
}

bool RemoveProductEntry(LONG *error) {
    *error = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductEntryKey);
    if (*error == ERROR_FILE_NOT_FOUND) *error = ERROR_SUCCESS;
    return *error == ERROR_SUCCESS;
}

bool ProductEntryExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductEntryKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

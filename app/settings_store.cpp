#include "app/settings_store.h"

void SettingsStore::load(const std::string& filePath) {
    path = filePath;
    reload();
}

void SettingsStore::reload() {
    settings = path.empty() ? Settings() : readSettings(path.c_str());
}

void SettingsStore::rememberCheckBox(bool keep) {
    reload();
    Settings next = settings;
    next.keepAttributes = keep;
    if (!path.empty() && writeSettings(path.c_str(), next)) settings = next;
}

void SettingsStore::rememberCompletion(const CopyInputs& rows) {
    reload();
    Settings next = settings;
    next.keepAttributes = rows.keepAttributes;
    next.last.rows = rows;
    next.hasLast = storableRows(rows);
    if (!path.empty() && writeSettings(path.c_str(), next)) settings = next;
}

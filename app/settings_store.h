#pragma once

#include <string>

#include "app/settings_file.h"
#include "copyarray/copy_array.h"

// zovrel.ini as the window keeps it: the check box as last left, and the rows of the last
// completed send for "前回値". A file that cannot be read or written never stops the program:
// nothing is remembered then, and nobody is told. Another Zovrel may write the file meanwhile:
// each change reads it again and changes only its own part.
struct SettingsStore {
    void load(const std::string& filePath);  // an empty path: nothing is remembered
    void reload();                           // what the file holds now
    // The check box as the drafter left it (by a click or by "前回値").
    void rememberCheckBox(bool keep);
    // The rows that were just sent, for "前回値", and the check box with them.
    void rememberCompletion(const CopyInputs& rows);

    bool hasLastValues() const { return settings.hasLast; }
    const CopyInputs& lastValues() const { return settings.last.rows; }

    std::string path;
    Settings settings;  // as the file holds it
};

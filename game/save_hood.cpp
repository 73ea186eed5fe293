#include "game/save_hood.h"

#include "core/reports.h"
#include "core/utilities.h"
#include "game/neighbourhood_name.h"

namespace adultify {

std::string BackupName(const std::string& baseName, int k) {
    const std::string digits = "000" + std::to_string(k);
    return baseName + "." + digits.substr(digits.size() - 3);
}

bool SaveHood(Module1& m) {
    const std::string baseName = HoodBaseName(m.SimsPath, ChosenHood(m));
    const std::string hoodFile = baseName + ".iff";
    const std::string notSaved = "The neighbourhood was not saved; the file on disk is unchanged.";

    std::string backup;
    for (int k = 0; k < kBackupNames && backup.empty(); ++k)
        if (FileExists(m, BackupName(baseName, k)) != kTrue) backup = BackupName(baseName, k);
    if (backup.empty()) {
        ReportWriteFailure(m, notSaved, hoodFile,
                           "All backup names Neighborhood.000 to Neighborhood.999 are taken.");
        return false;
    }

    const std::string sidecar = SidecarPath(hoodFile);
    if (auto r = m.fs.WriteNew(sidecar, m.HoodData); !r) {
        (void)m.fs.Remove(sidecar);
        ReportWriteFailure(m, notSaved, sidecar, r.reason);
        return false;
    }
    if (auto r = m.fs.Rename(hoodFile, backup); !r) {
        (void)m.fs.Remove(sidecar);
        ReportWriteFailure(m, notSaved, hoodFile, r.reason);
        return false;
    }
    if (auto r = m.fs.Rename(sidecar, hoodFile); !r) {
        if (auto undo = m.fs.Rename(backup, hoodFile); !undo) {
            ReportWriteFailure(m, "The neighbourhood was not saved. Its previous file is kept as",
                               backup, r.reason);
            return false;
        }
        (void)m.fs.Remove(sidecar);
        ReportWriteFailure(m, notSaved, hoodFile, r.reason);
        return false;
    }
    m.UnsavedData = kFalse;
    m.ui.SetEnabled("menu_Save", false);
    return true;
}

} // namespace adultify

#include "game/save_hood.h"

#include "core/reports.h"
#include "core/status_line.h"
#include "game/game_writes.h"
#include "game/neighbourhood_name.h"

namespace adultify {

namespace {
const char* const kNotSaved = "The neighbourhood was not saved; the file on disk is unchanged.";
} // namespace

std::optional<Replacement> HoodReplacement(Module1& m) {
    const std::string baseName = HoodBaseName(m.game.SimsPath, ChosenHood(m));
    Replacement r{baseName + ".iff", m.hood.HoodData, std::nullopt};
    if (!m.fs.EntryExists(r.path)) {
        // Gone since it was read (moved, or the folder deleted): not written again unasked.
        ReportRefusal(m, kNotSaved, r.path, "the neighbourhood's file is no longer there");
        m.outcomes.notSavedBecause = "the neighbourhood's file is no longer there";
        return std::nullopt;
    }
    auto backup = m.fs.FreeBackupName(baseName);
    if (!backup) {
        ReportFileError(m, kNotSaved, backup.error());
        m.outcomes.notSavedBecause = "no backup name is free";
        return std::nullopt;
    }
    r.backup = backup.value();
    return r;
}

void MarkSaved(Module1& m) {
    m.editing.UnsavedData = kFalse;
    m.ui.SetEnabled("menu_Save", false);
}

std::string SavedText(const Replacement& hood) {
    auto name = [](const std::string& path) { return path.substr(path.find_last_of('\\') + 1); };
    return "Saved " + name(hood.path) + "; the old one is " + name(hood.backup.value_or(""));
}

bool SaveHood(Module1& m) {
    const auto hood = HoodReplacement(m);
    if (!hood || !WriteGameFiles(m, {*hood}, kNotSaved, {"save", "", ""})) {
        SetStatus(m, NothingSavedText(m.outcomes));
        return false;
    }
    MarkSaved(m);
    SetStatus(m, SavedText(*hood));
    return true;
}

} // namespace adultify

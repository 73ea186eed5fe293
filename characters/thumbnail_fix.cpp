#include "characters/thumbnail_fix.h"

#include "core/reports.h"
#include "core/utilities.h"
#include "game/game_text.h"
#include "game/game_writes.h"
#include "game/neighbourhood_name.h"
#include "hood/before_command.h"
#include "hood/get_people.h"
#include "hood/resident_view.h"

#include <cstring>

namespace adultify {

std::string ThumbnailWarningText() {
    return "WARNING\n"
           "-----------------\n"
           "This is an experimental procedure. It is still under test.\n"
           "This option has only been tested with Livin' Large. It may not work\n"
           "if you do not have Livin' Large installed.\n"
           "Using this option may destroy your Sim or may cause your game to crash.\n"
           "I cannot be held responsible for any damage this option may cause.\n"
           "This option will remove the currentl Thumbnails from your Sim so that the\n"
           "game can update them.\n\n"
           "Use this option at your own risk.\n\n"
           "Do you still wish to proceed?";
}

int RemoveBitmapTags(Bytes& data) {
    int count = 0;
    if (data.size() <= 4) return 0;
    std::uint8_t* d = data.data();
    const std::size_t windows = data.size() - 4; // the window at length - 3 is never examined
    for (std::size_t j = 0; j < windows; ++j) {
        const std::uint8_t c = d[j];
        if (c != 'B' && c != '_') continue;
        if (std::memcmp(d + j, "BMP_", 4) == 0 || std::memcmp(d + j, "_PMB", 4) == 0) {
            std::memcpy(d + j, "XXXX", 4);
            ++count;
        }
    }
    return count;
}

namespace {

const char* const kNotFixed = "The thumbnails were not removed. Nothing has been changed.";

// The replacements made in the resident's character file, or -1 when nothing was written
// (and the reason told).
int FixThumbnails(Module1& m, const PersonRecord& resident) {
    const Bytes& userFile = resident.UserFile;
    const auto path = ChosenUserFilePath(m, userFile);
    if (!path) {
        ReportRefusal(m, kNotFixed, CharactersFolder(m.game.SimsPath, ChosenHood(m)),
                      "the resident's file name could lead outside the Characters folder");
        return -1;
    }
    if (FileExists(m, *path) != kTrue && !m.fs.EntryExists(*path)) return -1; // no file
    auto data = m.fs.ReadFile(*path, kLargestCharacterFile);
    if (!data) {
        ReportFileError(m, kNotFixed, data.error());
        return -1;
    }
    m.hood.UserFileData = std::move(data.value());
    const int replaced = RemoveBitmapTags(m.hood.UserFileData);
    if (!WriteGameFiles(
            m, {{*path, m.hood.UserFileData, std::nullopt}}, kNotFixed,
            {"fix-thumbnails", DecodeName(m.game, userFile), ResidentName(m.game, resident)}))
        return -1;
    List1_Click(m);
    return replaced;
}

} // namespace

void menu_fix_thumbnails_Click(Module1& m) {
    // Its questions before its work, and never on a file changed since it was shown.
    if (const int line = SelectedResident(m); line >= 0 && !m.ui.Caption("Combo1").empty()) {
        const auto path =
            ChosenUserFilePath(m, m.hood.People[static_cast<std::size_t>(line)].UserFile);
        if (path && !ReadyToWrite(m, {*path})) return;
    }
    if (m.ui.ShowMessage(ThumbnailWarningText(), MsgButtons::YesNoDefaultNo, MsgIcon::Information,
                         "WARNING") != MsgAnswer::Yes) {
        (void)m.ui.ShowMessage("Thumbnail removal cancelled", MsgButtons::Ok, MsgIcon::None,
                               "Aborted");
        return;
    }
    const int count = m.ui.ListCount("List1");
    for (int i = 0; i < count; ++i) {
        if (!m.ui.ListSelected("List1", i)) continue;
        m.ui.SetPointer(MousePointer::Hourglass);
        if (m.ui.Caption("Combo1").empty()) {
            m.ui.SetPointer(MousePointer::Default);
            return;
        }
        const int done = FixThumbnails(m, m.hood.People[static_cast<std::size_t>(i)]);
        m.ui.SetPointer(MousePointer::Default);
        if (done < 0) continue;
        (void)m.ui.ShowMessage("Done." + WithSignPosition(done) + " replacements made",
                               MsgButtons::Ok, MsgIcon::None, "Complete");
    }
}

} // namespace adultify

#include "tools/thumbnail_fix.h"

#include "core/reports.h"
#include "core/utilities.h"
#include "game/neighbourhood_name.h"
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

void menu_fix_thumbnails_Click(Module1& m) {
    if (m.ui.ShowMessage(ThumbnailWarningText(), MsgButtons::YesNo, MsgIcon::Information,
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
        const auto path = ChosenUserFilePath(m, m.People[static_cast<std::size_t>(i)].UserFile);
        if (!path || FileExists(m, *path) != kTrue) {
            m.ui.SetPointer(MousePointer::Default);
            continue;
        }
        std::string reason;
        auto data = m.fs.Read(*path, &reason);
        if (!data) {
            m.ui.SetPointer(MousePointer::Default);
            ReportReadFailure(m, "The character file could not be read. Nothing has been changed.",
                              *path, reason);
            continue;
        }
        m.UserFileData = std::move(*data);
        const int replaced = RemoveBitmapTags(m.UserFileData);
        if (auto r = ReplaceWholeFile(m.fs, *path, m.UserFileData); !r) {
            m.ui.SetPointer(MousePointer::Default);
            ReportWriteFailure(m,
                               "The character file could not be saved. Nothing has been changed.",
                               *path, r.reason);
            continue;
        }
        List1_Click(m);
        m.ui.SetPointer(MousePointer::Default);
        (void)m.ui.ShowMessage("Done." + WithSignPosition(replaced) + " replacements made",
                               MsgButtons::Ok, MsgIcon::None, "Complete");
    }
}

} // namespace adultify

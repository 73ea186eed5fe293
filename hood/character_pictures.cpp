#include "hood/character_pictures.h"

#include "core/status_line.h"
#include "core/utilities.h"
#include "game/game_text.h"
#include "game/game_writes.h"
#include "game/neighbourhood_name.h"
#include "iff/character_file.h"
#include "iff/chunk_search.h"

namespace adultify {

namespace {

void ShowPicture(Module1& m, ControlId box, Position chunk, std::size_t length) {
    if (chunk == 0 || !m.ui.SetPictureBitmap(
                          box, BytesClipped(m.hood.UserFileData, chunk + kChunkHeaderSize, length)))
        m.ui.CopyPicture(kStockPictureHolder, box);
}

} // namespace

void Read_UserIff(Module1& m, const Bytes& userFile) {
    SetStatus(m, "Read_UserIff(" + DecodeName(m.game, userFile) + ")");
    // No pictures of the resident shown before stay beside this one's data.
    m.ui.RemovePicture("Picture1");
    m.ui.RemovePicture("Picture2");
    if (m.ui.Caption("Combo1").empty()) return;
    const auto path = ChosenUserFilePath(m, userFile);
    // What was read of it before says nothing of the file now.
    if (path) m.hood.readStamps.erase(*path);
    if (path && FileExists(m, *path) == kTrue) {
        SetStatus(m, "Open IFF");
        SetStatus(m, "Len IFF");
        SetStatus(m, "Get IFF");
        auto data = m.fs.ReadFile(*path, kLargestCharacterFile);
        SetStatus(m, "Close IFF");
        if (data) {
            RememberRead(m, *path, data.value());
            m.hood.UserFileData = std::move(data.value());
            SetStatus(m, "Get BMP");
            ShowPicture(m, "Picture1", FindThumbnailChunk(m.hood.UserFileData),
                        kThumbnailDataLength);
            SetStatus(m, "Get other BMP");
            ShowPicture(m, "Picture2", FindFaceChunk(m.hood.UserFileData), kFaceDataLength);
        }
    }
    SetStatus(m, "Idle");
}

} // namespace adultify

#include "iff/character_file.h"

#include "app/status_line.h"
#include "app/utilities.h"
#include "game/neighbourhood_name.h"
#include "iff/chunk_search.h"
#include "iff/cp1252.h"
#include "iff/whole_file.h"

namespace adultify {

bool IsSafeUserFileName(const Bytes& userFile) {
    if (userFile.empty()) return false;
    for (std::uint8_t b : userFile)
        if (b < 32 || b == 127 || b == '/' || b == '\\' || b == ':') return false;
    return FindBytes(userFile, "..", 1) == 0;
}

std::optional<std::string> UserFilePath(Module1& m, const Bytes& userFile) {
    if (!IsSafeUserFileName(userFile)) return std::nullopt;
    return CharactersFolder(m.SimsPath, m.ui.Caption("Combo1")) + Cp1252ToUtf8(userFile) + ".iff";
}

Position FindThumbnailChunk(const Bytes& data) {
    const Position old = FindChunkHeader(data, "BMP_", 2030, 2004, 0x0010, "thumbnail");
    const Position made = FindChunkHeader(data, "BMP_", 2030, 2004, 0x0010, "newimage");
    if (old == 0) return made;
    if (made == 0) return old;
    return std::min(old, made);
}

Position FindFaceChunk(const Bytes& data) {
    return FindChunkHeader(data, "BMP_", 13086, 2002, 0x0010, "face");
}

namespace {

void ShowPicture(Module1& m, std::string_view box, Position chunk, std::size_t length) {
    if (chunk == 0 || !m.ui.SetPictureBitmap(box, BytesClipped(m.UserFileData, chunk + 76, length)))
        m.ui.CopyPicture("Picture4", box);
}

} // namespace

void Read_UserIff(Module1& m, const Bytes& userFile) {
    SetStatus(m, "Read_UserIff(" + Cp1252ToUtf8(userFile) + ")");
    if (m.ui.Caption("Combo1").empty()) return;
    const auto path = UserFilePath(m, userFile);
    if (path && FileExists(m, *path) == kTrue) {
        SetStatus(m, "Open IFF");
        SetStatus(m, "Len IFF");
        SetStatus(m, "Get IFF");
        auto data = ReadWholeFile(m.fs, *path);
        SetStatus(m, "Close IFF");
        if (data) {
            m.UserFileData = std::move(*data);
            SetStatus(m, "Get BMP");
            ShowPicture(m, "Picture1", FindThumbnailChunk(m.UserFileData), kThumbnailDataLength);
            SetStatus(m, "Get other BMP");
            ShowPicture(m, "Picture2", FindFaceChunk(m.UserFileData), kFaceDataLength);
        }
    }
    SetStatus(m, "Idle");
}

} // namespace adultify

#include "fuzz/fuzz_game.h"

#include "ageing/adultify.h"
#include "app/startup.h"
#include "game/neighbourhood_list.h"
#include "hood/get_people.h"
#include "sample/game_model.h"

#include <algorithm>

namespace adultify::fuzz {

HoodInput SplitHoodInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* end = data + size;
    const auto* mark = reinterpret_cast<const std::uint8_t*>(kCharacterMark.data());
    const std::uint8_t* at = std::search(data, end, mark, mark + kCharacterMark.size());
    if (at == end) return {Bytes(data, end), std::nullopt};
    return {Bytes(data, at), Bytes(at + kCharacterMark.size(), end)};
}

Bytes JoinHoodInput(const Bytes& hood, const Bytes& character) {
    Bytes out = hood;
    out.insert(out.end(), kCharacterMark.begin(), kCharacterMark.end());
    out.insert(out.end(), character.begin(), character.end());
    return out;
}

const Bytes& OneChildHood() {
    static const Bytes hood = [] {
        sample::SimSpec child;
        child.userFile = "user00001";
        child.firstName = "Jo";
        child.age = 9;
        child.guid = 0x81828384;
        child.familyChunkId = 1;
        child.fillerBytes = 0;
        sample::FamilySpec family;
        family.name = "Newbie";
        family.members = {child.guid};
        sample::HoodSpec layout;
        layout.sims = {child};
        layout.families = {family};
        return sample::NeighbourhoodFile(layout);
    }();
    return hood;
}

FuzzGame::FuzzGame(Bytes hood, std::optional<Bytes> character) : m(ui, files, clock) {
    files.Put(std::string(kHoodPath), std::move(hood));
    if (character) files.PutAnyFileIn(std::string(kCharactersFolder), std::move(*character));
    m.game.SimsPath = kSimsPath;
    FillCareerNames(m);
    FillNeighbourhoodList(m);
    ui.ListSelect("Combo1", 0);
}

void FuzzGame::AdultifyFirstResident() {
    UntilProgramEnd([this] {
        Get_People(m);
        if (m.hood.RecordCount == 0) return;
        ui.ListSelect("List1", 0);
        Adultify_Command1_Click(m);
    });
}

} // namespace adultify::fuzz

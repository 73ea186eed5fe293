#pragma once
// Reading the chosen neighbourhood: every USER text in the file starts a resident entry.

#include "core/module1.h"

#include <functional>
#include <map>
#include <string>

namespace adultify {

// Reads Combo1's neighbourhood into HoodData, fills People and List1. Ends the program with
// its report on any failure, on the resident limit and on an invalid character file.
void Get_People(Module1& m);

// First names by user file, as a scan found them.
using KnownFirstNames = std::map<std::string, Bytes, std::less<>>;
// The same, taking a resident's first name from `known` instead of reading the character file:
// for the reload after the program's own save, which changed no other character file.
void Get_People(Module1& m, const KnownFirstNames& known);
// The first names of the residents read last.
[[nodiscard]] KnownFirstNames FirstNamesRead(const HoodState& hood);

// The resident's first and family name, as its List1 line shows them ("Bob Newbie").
[[nodiscard]] std::string ResidentName(const GameState& game, const PersonRecord& r);

// The first name in the resident's character file, or "Not Found". The file is read into
// `buffer`'s room, which keeps it for the next: a neighbourhood's character files, read in
// turn, touch no new memory each.
[[nodiscard]] Bytes ReadCharacterFirstName(Module1& m, const Bytes& userFile, Bytes& buffer);

// The family key's offset for the record whose user-file text starts at position u.
[[nodiscard]] int FamilyKeyOffset(const Bytes& hood, Position u);

} // namespace adultify

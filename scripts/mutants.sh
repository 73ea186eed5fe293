#!/bin/sh
# Shows that the tests bite: each mutation below changes one line of a rule that matters (the
# age code, the backup name, the record of a save, the lock, the name table, the skill offsets,
# the thumbnail tags, the search order), in a scratch copy of the tree under build/mutants, and
# must make at least one test of the programs named with it fail. Prints one line a mutation
# and the tests that caught it; exits 1 when one was not caught or did not build.
#   sh scripts/mutants.sh            every mutation
#   sh scripts/mutants.sh 3 7        only those numbers
# Not part of CI: it rebuilds test programs once a mutation (about half an hour on two cores).
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
work="$root/build/mutants"
src="$work/src"
bin="$work/build"
table="$work/mutations"
only=" $* "
mkdir -p "$work"

# One mutation a block: the file, the text it holds once, the text put in its place (\n is a
# line break), the test programs to build and run.
cat >"$table" <<'EOF'
ageing/adultify.cpp
SetByteAt(m.hood.HoodData, u + resident::kAge, resident::kAgeAdult);
SetByteAt(m.hood.HoodData, u + resident::kAge, resident::kAgeChild);
ageing_tests

hood/resident_layout.h
kAgeChild = 9, kAgeAdult = 27;
kAgeChild = 9, kAgeAdult = 28;
ageing_tests hood_tests

ageing/adultify.cpp
data[static_cast<std::size_t>(p - 1)] = '7';
data[static_cast<std::size_t>(p - 1)] = '8';
ageing_tests

ageing/adultify.cpp
std::memcpy(&data[static_cast<std::size_t>(b - 1)], "adult", 5);
std::memcpy(&data[static_cast<std::size_t>(b - 1)], "adulT", 5);
ageing_tests

ageing/adultify.cpp
SetByteAt(m.hood.HoodData, u + resident::kCareerLevel, 0);
(void)u;
ageing_tests

hood/resident_view.cpp
if (r.Age[0] == resident::kAgeAdult) m.ui.SetEnabled("Command1", false);
if (r.Age[0] == resident::kAgeAdult) m.ui.SetEnabled("Command1", true);
hood_tests

files/native_file_system.cpp
for (int k = 0; k < kBackups; ++k) {
for (int k = 1; k < kBackups; ++k) {
game_tests

files/native_file_system.cpp
constexpr int kBackups = 1000;
constexpr int kBackups = 999;
game_tests

files/native_file_system.cpp
if (!exists.value()) return name;
if (exists.value()) return name;
game_tests

files/native_file_system.cpp
digits.substr(digits.size() - 3)
digits.substr(digits.size() - 2)
game_tests

files/intent_record.cpp
Number<std::uint32_t>(end[3], 16) != Crc32(text.data(), bodySize))
!Number<std::uint32_t>(end[3], 16))
safe_files_tests

files/intent_record.cpp
if (!IsInsideGameFolder(folder, gameFolder))
if (false && !IsInsideGameFolder(folder, gameFolder))
safe_files_tests

files/replace_together.cpp
if (!e.backup || !e.before) continue; // a new file has nothing to keep
if (true) continue;
safe_files_tests

files/replace_together.cpp
if (auto removed = platform::Remove(IntentFile(gameFolder)); !removed) return removed;
(void)0;
safe_files_tests

files/replace_together.cpp
for (std::size_t j = 0; j < count; ++j) {
for (std::size_t j = count; j < count; ++j) {
safe_files_tests ageing_tests

files/intent_recovery.cpp
if (!Unchanged(e)) return Progress::Changed;
if (false) return Progress::Changed;
safe_files_tests

files/folder_lock_posix.cpp
rc = ::fcntl(fd, F_OFD_SETLK, &range);
rc = ::fcntl(fd, F_OFD_GETLK, &range);
safe_files_tests

files/folder_lock_posix.cpp
range.l_type = F_WRLCK;
range.l_type = F_RDLCK;
safe_files_tests

iff/character_file.cpp
const Position valueAt = code + 5;
const Position valueAt = code + 4;
hood_tests

iff/character_file.cpp
if (at(k) == 0xFD && at(k + 1) == 0xFF) code = k;
if (at(k) == 0xFD && at(k + 1) == 0xFE) code = k;
hood_tests

iff/character_file.cpp
if (end > last) return {Outcome::NotFound, {}};
if (end > last + 1) return {Outcome::NotFound, {}};
hood_tests

hood/resident_layout.h
kCooking = 38, kCharisma = 40, kMechanical = 42
kCooking = 38, kCharisma = 42, kMechanical = 40
hood_tests ageing_tests

hood/resident_layout.h
kBody = 52,\n                     kLogic = 54;
kBody = 52,\n                     kLogic = 56;
hood_tests ageing_tests

hood/resident_layout.h
{"Label10", resident::kOutgoing},
{"Label10", resident::kNeat},
hood_tests

characters/thumbnail_fix.cpp
std::memcmp(d + j, "_PMB", 4) == 0
std::memcmp(d + j, "_PMB", 4) == 1
characters_tests

characters/thumbnail_fix.cpp
const std::size_t windows = data.size() - 4;
const std::size_t windows = data.size() - 3;
characters_tests

characters/thumbnail_fix.cpp
std::memcpy(d + j, "XXXX", 4);
std::memcpy(d + j, "XXXY", 4);
characters_tests

install/install_search.cpp
OfferRemembered();\n        if (wine) OfferSaves(InstallSource::ReRelease, *wine);
if (wine) OfferSaves(InstallSource::ReRelease, *wine);\n        OfferRemembered();
game_tests

install/install_search.cpp
for (const fs::path& prefix : BottlesPrefixes(places_.home))\n            OfferPrefix(InstallSource::Bottles, prefix);
for (const fs::path& prefix : BottlesPrefixes(places_.home))\n            OfferPrefix(InstallSource::Lutris, prefix);
game_tests

install/install_search.cpp
!defaultPrefix || *defaultPrefix != dotWine)
!defaultPrefix)
game_tests
EOF

# The scratch tree: the files git knows, as they are in the working tree.
mkdir -p "$src"
git ls-files -z --cached --others --exclude-standard | tar cf - --null -T - |
    (cd "$src" && tar xmf -) # m: the files copied count as new, so that the build sees them
if [ ! -f "$bin/build.ninja" ]; then
    cmake -S "$src" -B "$bin" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DADULTIFY_QT=OFF \
        -DADULTIFY_BENCHMARKS=OFF >"$work/configure.log"
fi

# Replaces the one place of $2 in file $1 by $3; fails when $2 is not there exactly once.
mutate() {
    python3 - "$1" "$2" "$3" <<'PY'
import sys
path, old, new = sys.argv[1], sys.argv[2].replace('\\n', '\n'), sys.argv[3].replace('\\n', '\n')
text = open(path, encoding='utf-8').read()
if text.count(old) != 1:
    sys.exit('%s holds %r %d times' % (path, old, text.count(old)))
open(path, 'w', encoding='utf-8').write(text.replace(old, new))
PY
}

n=0
missed=0
while IFS= read -r file && IFS= read -r old && IFS= read -r new && IFS= read -r targets; do
    IFS= read -r _blank || true
    n=$((n + 1))
    case "$only" in "  ") ;; *" $n "*) ;; *) continue ;; esac
    cp "$src/$file" "$work/original"
    if ! mutate "$src/$file" "$old" "$new"; then
        echo "$n $file: NOT APPLIED"
        missed=$((missed + 1))
        continue
    fi
    caught=""
    # shellcheck disable=SC2086
    if ! cmake --build "$bin" --target $targets >"$work/build-$n.log" 2>&1; then
        caught="(does not build)"
        missed=$((missed + 1))
    else
        for t in $targets; do
            "$bin/$t" --gtest_brief=1 >"$work/run-$n-$t.log" 2>&1 || true
            caught="$caught$(sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_/]*\.[A-Za-z0-9_/]*\).*/ \1/p' \
                "$work/run-$n-$t.log" | sort -u | tr -d '\n')"
        done
        [ -n "$caught" ] || { caught=" NOT CAUGHT"; missed=$((missed + 1)); }
    fi
    cp "$work/original" "$src/$file"
    printf '%s %s: %s ->%s\n' "$n" "$file" "$new" "$caught"
done <"$table"

echo "$n mutations, $missed not caught"
[ "$missed" -eq 0 ]

// The command line's heap keeps what it frees until the run ends.
//
// glibc gives the end of the heap back to the system as soon as 128 KiB there are free, and
// maps a block of 128 KiB or more on its own, unmapped again when freed. A save frees the
// files it has read and written, so a run gave memory back several times and took it again,
// each time a change of the address space that costs 0.2 to 0.7 ms in a virtual machine (a
// tenth of a restore) and fresh zeroed pages for the next block. A run lasts milliseconds and
// its largest use is the same either way.

#include <malloc.h>

namespace {

[[maybe_unused]] const bool kHeapKept = [] {
    ::mallopt(M_TRIM_THRESHOLD, 256 << 20);
    // The most every glibc takes; the game's files are far smaller.
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    return true;
}();

} // namespace

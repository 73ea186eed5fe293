#pragma once
// Win32 hands pointers and handles over as integers (LPARAM, WPARAM, LONG_PTR, DWORD_PTR, a
// message's answer): the one place they turn back into what they are.

namespace adultify::win32 {

template <typename T, typename Integer> T Pointer(Integer value) {
    return reinterpret_cast<T>(value); // NOLINT(performance-no-int-to-ptr)
}

} // namespace adultify::win32

#pragma once
// A file's contents in memory, one element per byte, values kept unchanged.
// Positions are 1-based (the first byte is position 1); a search that finds nothing yields 0.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace adultify {

// Leaves new elements uninitialised unless a value is given, so that a file is read into
// its buffer without first zeroing it.
template <typename T> struct DefaultInitAllocator : std::allocator<T> {
    template <typename U> struct rebind { using other = DefaultInitAllocator<U>; };
    using std::allocator<T>::allocator;
    template <typename U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <typename U, typename... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// A vector whose copies are one memcpy: through the allocator above, the vector's own copy
// constructs each byte in turn, about three instructions a byte.
class Bytes : public std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>> {
    using Base = std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>>;

  public:
    using Base::Base;
    Bytes() = default;
    // NOLINTNEXTLINE(bugprone-copy-constructor-init): the base's copy is the slow one
    Bytes(const Bytes& other) : Base() { CopyFrom(other); }
    Bytes(Bytes&&) noexcept = default;
    Bytes& operator=(const Bytes& other) {
        if (this != &other) CopyFrom(other);
        return *this;
    }
    Bytes& operator=(Bytes&&) noexcept = default;
    ~Bytes() = default;

  private:
    void CopyFrom(const Base& other) {
        resize(other.size());
        if (!other.empty()) std::memcpy(data(), other.data(), other.size());
    }
};

using Position = std::int64_t; // 1-based; 0 means "not found"

[[nodiscard]] Bytes ToBytes(std::string_view text);
[[nodiscard]] std::string_view AsText(const Bytes& bytes);

// Exact byte-for-byte search for the first occurrence starting at or after `start`.
[[nodiscard]] Position FindBytes(const Bytes& data, const Bytes& pattern, Position start);
[[nodiscard]] Position FindBytes(const Bytes& data, std::string_view pattern, Position start);

// Byte at a 1-based position; throws std::out_of_range outside the data.
[[nodiscard]] std::uint8_t ByteAt(const Bytes& data, Position pos);
void SetByteAt(Bytes& data, Position pos, std::uint8_t value);

// byte(p) + 256 * byte(p + 1); throws std::out_of_range when either byte is missing.
[[nodiscard]] unsigned ReadU16LE(const Bytes& data, Position p);
// Low byte at p, high byte at p + 1, in place; throws std::out_of_range when either is missing.
void WriteU16LE(Bytes& data, Position p, unsigned value);

// `count` bytes from `pos`; bytes past the end of the data become blanks (32).
[[nodiscard]] Bytes BytesPaddedWithBlanks(const Bytes& data, Position pos, std::size_t count);
// Up to `count` bytes from `pos`, fewer when the data ends sooner.
[[nodiscard]] Bytes BytesClipped(const Bytes& data, Position pos, std::size_t count);

} // namespace adultify

#pragma once
// One JSON document written as it goes: objects, arrays, texts and whole numbers. Texts are
// UTF-8; a byte that is not part of valid UTF-8 is written as U+FFFD, so the JSON text always
// parses.

#include <ostream>
#include <string_view>
#include <type_traits>
#include <vector>

namespace adultify {

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}
    // The JSON text ends with a line feed once its outermost value is closed.
    JsonWriter& BeginObject() { return Open('{'); }
    JsonWriter& EndObject() { return Close('}'); }
    JsonWriter& BeginArray() { return Open('['); }
    JsonWriter& EndArray() { return Close(']'); }
    // The key of the next value in an object.
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view text);
    JsonWriter& Number(long long n);
    JsonWriter& Bool(bool b);
    JsonWriter& Null();
    // Key and value together.
    template <class T> JsonWriter& Field(std::string_view key, const T& value) {
        Key(key);
        if constexpr (std::is_same_v<T, bool>)
            return Bool(value);
        else if constexpr (std::is_integral_v<T>)
            return Number(static_cast<long long>(value));
        else
            return String(value);
    }

  private:
    JsonWriter& Open(char bracket);
    JsonWriter& Close(char bracket);
    void BeforeValue();
    void Quoted(std::string_view text);

    std::ostream& out_;
    std::vector<bool> first_; // per open object or array: nothing written in it yet
    bool afterKey_ = false;
};

} // namespace adultify

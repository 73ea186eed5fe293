#include "install/vdf.h"

#include "text/ascii.h"

#include <cctype>

namespace adultify {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

enum class Kind { String, Open, Close, Condition, End, Bad };

struct Token {
    Kind kind = Kind::End;
    std::string text;
    std::size_t offset = 0;
};

class Parser {
  public:
    Parser(std::string_view text, int maxDepth) : text_(text), maxDepth_(maxDepth) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    }

    VdfResult Run() {
        VdfResult result;
        result.root.block = true;
        Entries(result.root, 0);
        result.error = std::move(error_);
        result.offset = errorOffset_;
        return result;
    }

  private:
    void Fail(std::string message, std::size_t offset) {
        if (!error_.empty()) return;
        error_ = std::move(message);
        errorOffset_ = offset;
    }

    void SkipSpaceAndComments() {
        while (pos_ < text_.size()) {
            if (IsSpace(text_[pos_])) {
                ++pos_;
            } else if (text_.substr(pos_, 2) == "//") {
                const auto eol = text_.find('\n', pos_);
                pos_ = eol == std::string_view::npos ? text_.size() : eol + 1;
            } else {
                return;
            }
        }
    }

    Token Next() {
        SkipSpaceAndComments();
        Token t;
        t.offset = pos_;
        if (pos_ >= text_.size()) return t;
        const char c = text_[pos_];
        if (c == '{' || c == '}') {
            ++pos_;
            t.kind = c == '{' ? Kind::Open : Kind::Close;
            return t;
        }
        if (c == '"') return Quoted(t);
        if (c == '[') {
            // A platform condition such as [$WIN32] after a value or key: read and ignored.
            const auto close = text_.find_first_of("]\n", pos_);
            if (close == std::string_view::npos || text_[close] != ']') {
                t.kind = Kind::Bad;
                t.text = "unterminated condition";
                return t;
            }
            pos_ = close + 1;
            t.kind = Kind::Condition;
            return t;
        }
        t.kind = Kind::String;
        while (pos_ < text_.size() && !IsSpace(text_[pos_]) && text_[pos_] != '"' &&
               text_[pos_] != '{' && text_[pos_] != '}' && text_.substr(pos_, 2) != "//")
            t.text += text_[pos_++];
        return t;
    }

    Token Quoted(Token t) {
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            char c = text_[pos_++];
            if (c == '\\' && pos_ < text_.size()) {
                const char e = text_[pos_++];
                switch (e) {
                case '\\':
                case '"': c = e; break;
                case 'n': c = '\n'; break;
                case 't': c = '\t'; break;
                default:
                    // Steam's reader keeps an unknown escape as written: "D:\Games" survives.
                    t.text += '\\';
                    c = e;
                }
            }
            t.text += c;
        }
        if (pos_ >= text_.size()) {
            t.kind = Kind::Bad;
            t.text = "unterminated string";
            return t;
        }
        ++pos_;
        t.kind = Kind::String;
        return t;
    }

    // Reads entries into `into` up to its closing brace (depth > 0) or the end (depth 0).
    // Recursive as the format nests; maxDepth_ bounds it.
    void Entries(VdfNode& into, int depth) { // NOLINT(misc-no-recursion)
        for (;;) {
            Token key = Next();
            if (key.kind == Kind::Condition) continue;
            if (key.kind == Kind::Bad) return Fail(key.text, key.offset);
            if (key.kind == Kind::End) {
                if (depth > 0) Fail("a block is not closed", key.offset);
                return;
            }
            if (key.kind == Kind::Close) {
                if (depth == 0) Fail("'}' without a block", key.offset);
                return;
            }
            if (key.kind == Kind::Open) return Fail("a block without a name", key.offset);
            if (!Entry(into, std::move(key), depth)) return;
        }
    }

    // The value or block after `key`; false when the text ends the reading.
    bool Entry(VdfNode& into, Token key, int depth) { // NOLINT(misc-no-recursion)
        Token value = Next();
        if (value.kind == Kind::Condition) value = Next();
        if (value.kind == Kind::Bad) return Fail(value.text, value.offset), false;
        if (value.kind == Kind::String) {
            into.children.push_back(VdfNode{std::move(key.text), std::move(value.text), {}});
            return true;
        }
        if (value.kind != Kind::Open) return Fail("a key without a value", value.offset), false;
        if (depth + 1 > maxDepth_) return Fail("blocks nested too deeply", value.offset), false;
        VdfNode child{std::move(key.text), {}, {}, true};
        Entries(child, depth + 1);
        into.children.push_back(std::move(child));
        return error_.empty();
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int maxDepth_;
    std::string error_;
    std::size_t errorOffset_ = 0;
};

} // namespace

const VdfNode* VdfNode::Child(std::string_view name) const {
    for (const VdfNode& c : children)
        if (EqualIgnoringCase(c.key, name)) return &c;
    return nullptr;
}

VdfResult ParseVdf(std::string_view text, int maxDepth) {
    return Parser(text, maxDepth).Run();
}

} // namespace adultify

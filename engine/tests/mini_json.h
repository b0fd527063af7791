// A small JSON reader for test fixtures: objects, arrays, strings, numbers
// (read with strtod, so doubles printed with round-trip precision come back
// bit for bit), true, false and null. Throws std::runtime_error with the byte
// offset on malformed text.
#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zk::testjson {

struct Member;

struct Value {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool b = false;
    double num = 0;
    std::string str;
    std::vector<Value> arr;
    // In file order. Not std::pair<std::string, Value>: a pair of a type not
    // yet complete is refused by clang with libstdc++, a vector of one is not.
    std::vector<Member> obj;

    bool has(const std::string &key) const;
    const Value &operator[](const std::string &key) const;
    bool isNull() const { return kind == Null; }
};

struct Member {
    std::string first;
    Value second;
};

inline bool Value::has(const std::string &key) const
{
    for (const auto &kv : obj)
        if (kv.first == key) return true;
    return false;
}

inline const Value &Value::operator[](const std::string &key) const
{
    for (const auto &kv : obj)
        if (kv.first == key) return kv.second;
    throw std::runtime_error("missing key: " + key);
}

class Parser {
public:
    explicit Parser(const std::string &text) : s_(text) {}
    Value parse()
    {
        Value v = value();
        ws();
        if (i_ != s_.size()) fail("trailing text");
        return v;
    }

private:
    const std::string &s_;
    size_t i_ = 0;

    [[noreturn]] void fail(const char *what) const
    {
        throw std::runtime_error(std::string("JSON: ") + what + " at byte " + std::to_string(i_));
    }
    void ws()
    {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) ++i_;
    }
    bool lit(const char *w)
    {
        const std::string t(w);
        if (s_.compare(i_, t.size(), t) == 0) {
            i_ += t.size();
            return true;
        }
        return false;
    }
    std::string string()
    {
        if (s_[i_] != '"') fail("string expected");
        ++i_;
        std::string out;
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (c == '\\') {
                if (i_ >= s_.size()) fail("bad escape");
                const char e = s_[i_++];
                switch (e) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'u': {
                    if (i_ + 4 > s_.size()) fail("bad escape");
                    const unsigned cp = unsigned(std::stoul(s_.substr(i_, 4), nullptr, 16));
                    i_ += 4;
                    if (cp < 0x80) {
                        out += char(cp);
                    } else if (cp < 0x800) {
                        out += char(0xC0 | (cp >> 6));
                        out += char(0x80 | (cp & 0x3F));
                    } else {
                        out += char(0xE0 | (cp >> 12));
                        out += char(0x80 | ((cp >> 6) & 0x3F));
                        out += char(0x80 | (cp & 0x3F));
                    }
                    break;
                }
                default: out += e; break;
                }
            } else {
                out += c;
            }
        }
        if (i_ >= s_.size()) fail("unterminated string");
        ++i_;
        return out;
    }
    Value value()
    {
        ws();
        if (i_ >= s_.size()) fail("value expected");
        Value v;
        const char c = s_[i_];
        if (c == '{') {
            v.kind = Value::Object;
            ++i_;
            ws();
            if (i_ < s_.size() && s_[i_] == '}') {
                ++i_;
                return v;
            }
            for (;;) {
                ws();
                std::string key = string();
                ws();
                if (i_ >= s_.size() || s_[i_] != ':') fail("':' expected");
                ++i_;
                v.obj.push_back(Member{std::move(key), value()});
                ws();
                if (i_ < s_.size() && s_[i_] == ',') {
                    ++i_;
                    continue;
                }
                if (i_ < s_.size() && s_[i_] == '}') {
                    ++i_;
                    return v;
                }
                fail("',' or '}' expected");
            }
        }
        if (c == '[') {
            v.kind = Value::Array;
            ++i_;
            ws();
            if (i_ < s_.size() && s_[i_] == ']') {
                ++i_;
                return v;
            }
            for (;;) {
                v.arr.push_back(value());
                ws();
                if (i_ < s_.size() && s_[i_] == ',') {
                    ++i_;
                    continue;
                }
                if (i_ < s_.size() && s_[i_] == ']') {
                    ++i_;
                    return v;
                }
                fail("',' or ']' expected");
            }
        }
        if (c == '"') {
            v.kind = Value::String;
            v.str = string();
            return v;
        }
        if (lit("true")) {
            v.kind = Value::Bool;
            v.b = true;
            return v;
        }
        if (lit("false")) {
            v.kind = Value::Bool;
            return v;
        }
        if (lit("null")) return v;
        const char *begin = s_.c_str() + i_;
        char *end = nullptr;
        v.num = std::strtod(begin, &end);
        if (end == begin) fail("number expected");
        v.kind = Value::Number;
        i_ += size_t(end - begin);
        return v;
    }
};

inline Value parse(const std::string &text) { return Parser(text).parse(); }

}  // namespace zk::testjson

#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumivane {

// A JSON value as the status file needs it: objects keep the order their members were added in, so that
// what the server writes and what lumictl prints read the same way.
class JsonValue
{
public:
    enum class Type
    {
        Null,
        Bool,
        Number,
        String,
        Array,
        Object
    };
    using Member = std::pair<std::string, JsonValue>;

    JsonValue() = default;
    JsonValue(std::nullptr_t) {}
    JsonValue(bool value) : m_type(Type::Bool), m_bool(value) {}
    JsonValue(int value) : m_type(Type::Number), m_number(value) {}
    JsonValue(int64_t value) : m_type(Type::Number), m_number(static_cast<double>(value)) {}
    JsonValue(uint32_t value) : m_type(Type::Number), m_number(value) {}
    JsonValue(double value) : m_type(Type::Number), m_number(value) {}
    JsonValue(std::string value) : m_type(Type::String), m_string(std::move(value)) {}
    JsonValue(const char* value) : m_type(Type::String), m_string(value) {}
    static JsonValue array() { return JsonValue(Type::Array); }
    static JsonValue object() { return JsonValue(Type::Object); }

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::Null; }
    bool asBool() const { return m_type == Type::Bool && m_bool; }
    double asNumber() const { return m_type == Type::Number ? m_number : 0; }
    const std::string& asString() const { return m_string; }
    const std::vector<JsonValue>& items() const { return m_items; }
    const std::vector<Member>& members() const { return m_members; }

    // Array: appends. Object: adds a member (a repeated name is kept as written; get() finds the first).
    JsonValue& push(JsonValue value);
    JsonValue& set(std::string name, JsonValue value);
    // The member `name` of an object; a null value when there is none.
    const JsonValue& get(std::string_view name) const;

private:
    explicit JsonValue(Type type) : m_type(type) {}

    Type m_type = Type::Null;
    bool m_bool = false;
    double m_number = 0;
    std::string m_string;
    std::vector<JsonValue> m_items;
    std::vector<Member> m_members;
};

// The string literal of `text`: quotes, backslashes and control characters escaped, bytes that are not
// valid UTF-8 replaced by U+FFFD, everything else as it stands.
std::string jsonQuoted(std::string_view text);

// The value as JSON text; with `indent` above 0 one member or item per line, indented by that many blanks
// per level. Integral numbers are written without a fraction.
std::string writeJson(const JsonValue& value, int indent = 0);

// Reads one JSON value (RFC 8259) and nothing but blanks after it. Nothing, with `error` set, for anything
// else; nesting deeper than 64 levels is refused.
std::optional<JsonValue> parseJson(std::string_view text, std::string& error);

} // namespace lumivane

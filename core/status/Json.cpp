#include "Json.h"

#include "TextEscape.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lumivane {
namespace {

constexpr int kMaxDepth = 64;

void appendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string numberText(double number)
{
    if (!std::isfinite(number))
        return "null"; // JSON has no infinities
    char text[32];
    if (number == std::trunc(number) && std::fabs(number) < 9.007199254740992e15)
        std::snprintf(text, sizeof text, "%.0f", number);
    else
        std::snprintf(text, sizeof text, "%.17g", number);
    return text;
}

void write(const JsonValue& value, int indent, int level, std::string& out)
{
    const auto newline = [&](int depth) {
        if (indent > 0) {
            out += '\n';
            out.append(static_cast<size_t>(indent * depth), ' ');
        }
    };
    switch (value.type()) {
    case JsonValue::Type::Null:
        out += "null";
        return;
    case JsonValue::Type::Bool:
        out += value.asBool() ? "true" : "false";
        return;
    case JsonValue::Type::Number:
        out += numberText(value.asNumber());
        return;
    case JsonValue::Type::String:
        out += jsonQuoted(value.asString());
        return;
    case JsonValue::Type::Array:
        out += '[';
        for (size_t i = 0; i < value.items().size(); ++i) {
            out += i ? "," : "";
            newline(level + 1);
            write(value.items()[i], indent, level + 1, out);
        }
        if (!value.items().empty())
            newline(level);
        out += ']';
        return;
    case JsonValue::Type::Object:
        out += '{';
        for (size_t i = 0; i < value.members().size(); ++i) {
            out += i ? "," : "";
            newline(level + 1);
            out += jsonQuoted(value.members()[i].first);
            out += indent > 0 ? ": " : ":";
            write(value.members()[i].second, indent, level + 1, out);
        }
        if (!value.members().empty())
            newline(level);
        out += '}';
        return;
    }
}

class Parser
{
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::optional<JsonValue> document(std::string& error)
    {
        std::optional<JsonValue> value = parseValue(0);
        skipBlanks();
        if (value && m_pos != m_text.size())
            fail("text after the value");
        if (!m_error.empty()) {
            error = m_error + " at byte " + std::to_string(m_pos);
            return std::nullopt;
        }
        return value;
    }

private:
    std::optional<JsonValue> fail(const char* what)
    {
        if (m_error.empty())
            m_error = what;
        return std::nullopt;
    }
    void skipBlanks()
    {
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }
    bool take(char c)
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool takeWord(std::string_view word)
    {
        if (m_text.substr(m_pos, word.size()) != word)
            return false;
        m_pos += word.size();
        return true;
    }

    std::optional<JsonValue> parseValue(int depth)
    {
        if (depth > kMaxDepth)
            return fail("nested too deeply");
        skipBlanks();
        if (m_pos >= m_text.size())
            return fail("a value is missing");
        const char c = m_text[m_pos];
        if (c == '{')
            return parseObject(depth);
        if (c == '[')
            return parseArray(depth);
        if (c == '"') {
            std::optional<std::string> text = parseString();
            return text ? std::optional<JsonValue>(JsonValue(std::move(*text))) : std::nullopt;
        }
        if (takeWord("true"))
            return JsonValue(true);
        if (takeWord("false"))
            return JsonValue(false);
        if (takeWord("null"))
            return JsonValue();
        return parseNumber();
    }

    std::optional<JsonValue> parseObject(int depth)
    {
        ++m_pos;
        JsonValue object = JsonValue::object();
        if (take('}'))
            return object;
        do {
            skipBlanks();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                return fail("a member name is missing");
            std::optional<std::string> name = parseString();
            if (!name)
                return std::nullopt;
            if (!take(':'))
                return fail("':' is missing");
            std::optional<JsonValue> value = parseValue(depth + 1);
            if (!value)
                return std::nullopt;
            object.set(std::move(*name), std::move(*value));
        } while (take(','));
        if (!take('}'))
            return fail("'}' is missing");
        return object;
    }

    std::optional<JsonValue> parseArray(int depth)
    {
        ++m_pos;
        JsonValue array = JsonValue::array();
        if (take(']'))
            return array;
        do {
            std::optional<JsonValue> value = parseValue(depth + 1);
            if (!value)
                return std::nullopt;
            array.push(std::move(*value));
        } while (take(','));
        if (!take(']'))
            return fail("']' is missing");
        return array;
    }

    std::optional<uint32_t> hex4()
    {
        if (m_pos + 4 > m_text.size())
            return std::nullopt;
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (digit < 0)
                return std::nullopt;
            value = value << 4 | static_cast<uint32_t>(digit);
        }
        return value;
    }

    std::optional<std::string> parseString()
    {
        ++m_pos; // the opening quote
        std::string out;
        while (m_pos < m_text.size()) {
            const unsigned char c = static_cast<unsigned char>(m_text[m_pos++]);
            if (c == '"') {
                if (validUtf8(out) != out) {
                    fail("a string is not valid UTF-8");
                    return std::nullopt;
                }
                return out;
            }
            if (c < 0x20) {
                fail("a control character in a string");
                return std::nullopt;
            }
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (m_pos >= m_text.size())
                break;
            const char escape = m_text[m_pos++];
            switch (escape) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                std::optional<uint32_t> code = hex4();
                if (code && *code >= 0xD800 && *code < 0xDC00) {
                    std::optional<uint32_t> low = takeWord("\\u") ? hex4() : std::nullopt;
                    if (!low || *low < 0xDC00 || *low > 0xDFFF)
                        code.reset();
                    else
                        code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
                } else if (code && *code >= 0xDC00 && *code <= 0xDFFF) {
                    code.reset();
                }
                if (!code) {
                    fail("a bad \\u escape");
                    return std::nullopt;
                }
                appendUtf8(out, *code);
                break;
            }
            default:
                fail("a bad escape");
                return std::nullopt;
            }
        }
        fail("a string does not end");
        return std::nullopt;
    }

    std::optional<JsonValue> parseNumber()
    {
        const size_t start = m_pos;
        const auto digits = [&] {
            const size_t from = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                ++m_pos;
            return m_pos - from;
        };
        if (m_pos < m_text.size() && m_text[m_pos] == '-')
            ++m_pos;
        const size_t intStart = m_pos;
        const size_t intDigits = digits();
        if (intDigits == 0 || (intDigits > 1 && m_text[intStart] == '0'))
            return fail("not a value");
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            if (digits() == 0)
                return fail("a number without fraction digits");
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            if (digits() == 0)
                return fail("a number without exponent digits");
        }
        const std::string text(m_text.substr(start, m_pos - start));
        return JsonValue(std::strtod(text.c_str(), nullptr));
    }

    std::string_view m_text;
    size_t m_pos = 0;
    std::string m_error;
};

} // namespace

JsonValue& JsonValue::push(JsonValue value)
{
    m_items.push_back(std::move(value));
    return m_items.back();
}

JsonValue& JsonValue::set(std::string name, JsonValue value)
{
    m_members.emplace_back(std::move(name), std::move(value));
    return m_members.back().second;
}

const JsonValue& JsonValue::get(std::string_view name) const
{
    static const JsonValue none;
    for (const Member& member : m_members) {
        if (member.first == name)
            return member.second;
    }
    return none;
}

std::string jsonQuoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : validUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string writeJson(const JsonValue& value, int indent)
{
    std::string out;
    write(value, indent, 0, out);
    return out;
}

std::optional<JsonValue> parseJson(std::string_view text, std::string& error)
{
    return Parser(text).document(error);
}

} // namespace lumivane

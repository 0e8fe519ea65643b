#include "tools/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace gasmixer {
namespace {

template <typename Float>
std::string Number(Float value, int significantDigits)
{
    if (!std::isfinite(value)) return "null";
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significantDigits).ptr;
    return std::string(buffer, end);
}

// A nested member's lines, one level further in.
std::string Indented(const std::string& text)
{
    std::string out;
    for (const char c : text) out += c == '\n' ? std::string("\n  ") : std::string(1, c);
    return out;
}

}  // namespace

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void JsonObjectWriter::AddRaw(std::string_view key, std::string value)
{
    members_.push_back(JsonString(key) + ": " + std::move(value));
}

void JsonObjectWriter::AddText(std::string_view key, std::string_view text) { AddRaw(key, JsonString(text)); }

void JsonObjectWriter::AddTexts(std::string_view key, const std::vector<std::string>& texts)
{
    std::string array = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) array += (i ? ",\n    " : "\n    ") + JsonString(texts[i]);
    array += texts.empty() ? "]" : "\n  ]";
    AddRaw(key, std::move(array));
}

void JsonObjectWriter::AddInteger(std::string_view key, long long value) { AddRaw(key, std::to_string(value)); }

void JsonObjectWriter::AddBool(std::string_view key, bool value) { AddRaw(key, value ? "true" : "false"); }

void JsonObjectWriter::AddNull(std::string_view key) { AddRaw(key, "null"); }

void JsonObjectWriter::AddDouble(std::string_view key, double value) { AddRaw(key, Number(value, 17)); }

void JsonObjectWriter::AddFloat(std::string_view key, float value) { AddRaw(key, Number(value, 9)); }

void JsonObjectWriter::AddDoubles(std::string_view key, const std::vector<double>& values)
{
    std::string array = "[";
    for (std::size_t i = 0; i < values.size(); ++i) array += (i ? ", " : "") + Number(values[i], 17);
    AddRaw(key, array + "]");
}

void JsonObjectWriter::AddObject(std::string_view key, const JsonObjectWriter& object)
{
    AddRaw(key, Indented(object.Text()));
}

void JsonObjectWriter::AddObjects(std::string_view key, const std::vector<JsonObjectWriter>& objects)
{
    std::string array = "[";
    for (std::size_t i = 0; i < objects.size(); ++i)
        array += (i ? ",\n    " : "\n    ") + Indented(Indented(objects[i].Text()));
    array += objects.empty() ? "]" : "\n  ]";
    AddRaw(key, std::move(array));
}

std::string JsonObjectWriter::Text() const
{
    std::string out = "{";
    for (std::size_t i = 0; i < members_.size(); ++i) out += (i ? ",\n  " : "\n  ") + members_[i];
    return out + (members_.empty() ? "}" : "\n}");
}

}  // namespace gasmixer

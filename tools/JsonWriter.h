#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gasmixer {

// A JSON text in double quotes; UTF-8 passes through unchanged.
std::string JsonString(std::string_view text);

// One flat JSON object, members in the order added, one per line.
class JsonObjectWriter {
public:
    void AddText(std::string_view key, std::string_view text);
    void AddTexts(std::string_view key, const std::vector<std::string>& texts);
    void AddInteger(std::string_view key, long long value);
    void AddBool(std::string_view key, bool value);
    void AddNull(std::string_view key);
    // Numbers round-trip: 17 significant digits for doubles, 9 for floats.
    // JSON has no NaN or infinity; they are written as null.
    void AddDouble(std::string_view key, double value);
    void AddFloat(std::string_view key, float value);
    void AddDoubles(std::string_view key, const std::vector<double>& values);
    // Nested objects, indented a level further.
    void AddObject(std::string_view key, const JsonObjectWriter& object);
    void AddObjects(std::string_view key, const std::vector<JsonObjectWriter>& objects);

    std::string Text() const;

private:
    void AddRaw(std::string_view key, std::string value);

    std::vector<std::string> members_;
};

}  // namespace gasmixer

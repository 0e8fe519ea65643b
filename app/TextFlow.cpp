#include "app/TextFlow.h"

#include <string_view>

namespace gasmixer {

namespace {

std::string ReplaceAll(const std::string& text, std::string_view from, std::string_view to)
{
    std::string result;
    std::size_t start = 0;
    for (std::size_t hit = text.find(from); hit != std::string::npos; hit = text.find(from, start)) {
        result.append(text, start, hit - start).append(to);
        start = hit + from.size();
    }
    return result.append(text, start);
}

}  // namespace

std::string FlowLines(std::string text)
{
    text = ReplaceAll(text, "\n", " ");
    text = ReplaceAll(text, "\r", " ");
    return ReplaceAll(text, "  ", " ");
}

}  // namespace gasmixer

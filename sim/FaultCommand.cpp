#include "sim/FaultCommand.h"

#include <charconv>
#include <sstream>

namespace gasmixer::sim {
namespace {

std::vector<std::string> Words(std::string_view line)
{
    if (const auto hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool TargetsOf(const std::string& word, bool allowAll, std::vector<FaultTarget>& targets)
{
    if (word == "mfc1") targets = {FaultTarget::Mfc1};
    else if (word == "mfc2") targets = {FaultTarget::Mfc2};
    else if (word == "relay") targets = {FaultTarget::Relay};
    else if (allowAll && word == "all") targets = {FaultTarget::Mfc1, FaultTarget::Mfc2, FaultTarget::Relay};
    else return false;
    return true;
}

bool KindOf(const std::string& word, FaultKind& kind)
{
    static const std::pair<const char*, FaultKind> kinds[] = {
        {"silent", FaultKind::Silent},     {"exception", FaultKind::Exception}, {"truncated", FaultKind::Truncated},
        {"badcrc", FaultKind::CorruptChecksum}, {"delayed", FaultKind::Delayed}, {"garbage", FaultKind::Garbage},
        {"vanish", FaultKind::Vanish},    {"noflow", FaultKind::NoFlow}};
    for (const auto& [name, k] : kinds) {
        if (word == name) {
            kind = k;
            return true;
        }
    }
    return false;
}

bool Milliseconds(const std::string& word, std::chrono::milliseconds& delay)
{
    long long ms = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), ms);
    if (error != std::errc{} || end != word.data() + word.size() || ms < 0 || ms > 600'000) return false;
    delay = std::chrono::milliseconds(ms);
    return true;
}

}  // namespace

const char* const FaultCommandHelp =
    "Commands on standard input, one a line:\n"
    "  fault DEVICE KIND  DEVICE: mfc1, mfc2 or relay; KIND: silent, exception,\n"
    "                     truncated, badcrc, garbage, vanish (closes the device's\n"
    "                     line), delayed MS (replies MS ms late), or for mfc1 and\n"
    "                     mfc2 noflow (answers, but its gas supply is empty)\n"
    "  clear DEVICE       DEVICE: mfc1, mfc2, relay or all; a vanished line also\n"
    "                     comes back, on a new pseudo-terminal that the\n"
    "                     registry link follows\n";

ParsedCommand ParseFaultCommand(std::string_view line)
{
    const std::vector<std::string> words = Words(line);
    if (words.empty()) return NoCommand{};
    FaultCommand command;
    if (words[0] == "clear") {
        if (words.size() != 2 || !TargetsOf(words[1], true, command.Targets))
            return CommandError{"clear takes one device: mfc1, mfc2, relay or all"};
        return command;
    }
    if (words[0] != "fault") return CommandError{"unknown command " + words[0]};
    if (words.size() < 3 || !TargetsOf(words[1], false, command.Targets))
        return CommandError{"fault takes a device (mfc1, mfc2, relay) and a kind"};
    if (!KindOf(words[2], command.Setting.kind)) return CommandError{"unknown fault " + words[2]};
    if (command.Setting.kind == FaultKind::NoFlow && command.Targets.front() == FaultTarget::Relay)
        return CommandError{"noflow applies to mfc1 and mfc2"};
    const bool delayed = command.Setting.kind == FaultKind::Delayed;
    if (words.size() != (delayed ? 4u : 3u) || (delayed && !Milliseconds(words[3], command.Setting.delay)))
        return CommandError{delayed ? "delayed takes a delay in ms (0 to 600000)" : "too many words"};
    return command;
}

}  // namespace gasmixer::sim

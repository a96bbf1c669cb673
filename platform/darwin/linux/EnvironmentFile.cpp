#include "platform/darwin/linux/EnvironmentFile.h"

#include "platform/darwin/linux/HostFile.h"
#include "platform/darwin/linux/TextFields.h"

namespace darwin {

namespace {

std::string unquoted(std::string_view value) {
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') ||
        value.back() != value.front()) {
        return std::string(value);
    }
    const bool escapes = value.front() == '"';
    value = value.substr(1, value.size() - 2);
    std::string text;
    for (size_t at = 0; at < value.size(); ++at) {
        if (escapes && value[at] == '\\' && at + 1 < value.size()) {
            ++at;
        }
        text.push_back(value[at]);
    }
    return text;
}

std::string_view withoutSpace(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

Assignments parseAssignments(std::string_view text) {
    Assignments assignments;
    while (!text.empty()) {
        const std::string_view line = withoutSpace(nextLine(text));
        const size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos) {
            continue;
        }
        assignments[std::string(withoutSpace(line.substr(0, equals)))] =
            unquoted(withoutSpace(line.substr(equals + 1)));
    }
    return assignments;
}

std::optional<std::string> assignedValue(const Assignments& assignments, std::string_view key) {
    const auto found = assignments.find(key);
    if (found == assignments.end() || found->second.empty()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::string> readOsRelease(const std::string& root) {
    std::optional<std::string> text = readHostFile(pathUnderRoot(root, "/etc/os-release"));
    return text ? text : readHostFile(pathUnderRoot(root, "/usr/lib/os-release"));
}

} // namespace darwin

#include "IniModel.h"

#include <optional>
#include <vector>

namespace orvo::fuzz::ini {
namespace {

constexpr std::size_t kMaxSection = 249;
constexpr std::size_t kMaxKey = 252;

// One line: [start, end) without its LF. A buffer that ends in LF has an empty last line at
// its very end.
struct Line {
    std::size_t start;
    std::size_t end;
};

std::vector<Line> Lines(const std::string& bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            lines.push_back({start, i});
            start = i + 1;
        }
    }
    if (!bytes.empty()) {
        lines.push_back({start, bytes.size()});
    }
    return lines;
}

std::string_view Text(const std::string& bytes, const Line& line) {
    return std::string_view(bytes).substr(line.start, line.end - line.start);
}

std::string_view UpTo(std::string_view text, std::string_view stops) {
    return text.substr(0, text.find_first_of(stops));
}

bool IsHeader(std::string_view line) {
    return !line.empty() && line.front() == '[';
}

std::optional<std::size_t> SectionLine(const std::vector<Line>& lines, const std::string& bytes,
                                       std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view text = Text(bytes, lines[i]);
        if (IsHeader(text) && UpTo(text.substr(1), std::string_view("];\r\t", 4)) == section) {
            return i;
        }
    }
    return std::nullopt;
}

struct KeyMatch {
    std::size_t valueStart;  // offset in the buffer
    std::size_t valueEnd;
    bool delimited;
};

// The first line after the header whose name part is the key, however many sections follow.
// The scan steps from line to line; when it steps onto the end of the buffer it reads an empty
// name there, and it stops where a value start reaches the end.
std::optional<KeyMatch> FindKey(const std::vector<Line>& lines, const std::string& bytes,
                                std::size_t header, std::string_view key) {
    for (std::size_t i = header + 1;; ++i) {
        if (i >= lines.size() || lines[i].start == bytes.size()) {
            if (key.empty()) {
                return KeyMatch{bytes.size(), bytes.size(), false};
            }
            return std::nullopt;
        }
        std::string_view text = Text(bytes, lines[i]);
        std::string_view name = UpTo(text, "=;\r");
        const bool delimited = name.size() < text.size();
        const std::size_t valueStart = lines[i].start + name.size() + (delimited ? 1 : 0);
        if (name == key) {
            std::string_view rest =
                std::string_view(bytes).substr(valueStart, lines[i].end - valueStart);
            return KeyMatch{valueStart, valueStart + UpTo(rest, ";\r\t]").size(), delimited};
        }
        if (valueStart >= bytes.size()) {
            return std::nullopt;
        }
    }
}

// Where a new key line of the section goes: behind the first line after the header that
// starts with a stop byte, else at the end.
std::size_t InsertionPoint(const std::string& bytes, std::string_view section) {
    const std::vector<Line> lines = Lines(bytes);
    const std::optional<std::size_t> header = SectionLine(lines, bytes, section);
    if (!header) {
        return bytes.size();
    }
    for (std::size_t i = *header + 1; i < lines.size(); ++i) {
        if (lines[i].start >= bytes.size()) {
            break;
        }
        const auto first = static_cast<unsigned char>(bytes[lines[i].start]);
        if (std::string_view("\r\n\t /\xFF\xFD").find(static_cast<char>(first)) !=
            std::string_view::npos) {
            return lines[i].end < bytes.size() ? lines[i].end + 1 : bytes.size();
        }
    }
    return bytes.size();
}

}  // namespace

std::string_view ReadBack(std::string_view value) {
    return UpTo(value, ";\r\t]\n");
}

std::string Lookup(const std::string& bytes, std::string_view section, std::string_view key) {
    const std::vector<Line> lines = Lines(bytes);
    const std::optional<std::size_t> header = SectionLine(lines, bytes, section);
    if (!header) {
        return {};
    }
    const std::optional<KeyMatch> match = FindKey(lines, bytes, *header, key);
    return match ? bytes.substr(match->valueStart, match->valueEnd - match->valueStart)
                 : std::string();
}

Update Set(const std::string& bytes, std::string_view section, std::string_view key,
           std::string_view value) {
    Update update;
    update.bytes = bytes;
    if (section.size() > kMaxSection || key.size() > kMaxKey) {
        return update;
    }
    update.accepted = true;
    const std::vector<Line> lines = Lines(bytes);
    const std::optional<std::size_t> header = SectionLine(lines, bytes, section);
    if (header) {
        if (const std::optional<KeyMatch> match = FindKey(lines, bytes, *header, key)) {
            std::string replacement = match->delimited ? "" : "=";
            replacement.append(value);
            update.bytes.replace(match->valueStart, match->valueEnd - match->valueStart,
                                 replacement);
            update.saves = true;
            return update;
        }
    } else {
        update.bytes.append("\r\n[").append(section).append("]\r\n");
    }
    const std::size_t at = InsertionPoint(update.bytes, section);
    std::string line;
    if (at == update.bytes.size() && !update.bytes.empty() && update.bytes.back() != '\n') {
        line = "\r\n";
    }
    line.append(key).append("=").append(value).append("\r\n");
    update.bytes.insert(at, line);
    return update;
}

}  // namespace orvo::fuzz::ini

#include "IniDocument.h"

#include "DurableFile.h"

#include <algorithm>

namespace orvo {
namespace {

bool IsHeaderNameEnd(char c) {
    return c == ']' || c == ';' || c == '\r' || c == '\t' || c == '\n';
}
// LF ends a name too, so that files saved with bare LF line ends still work.
bool IsNamePartEnd(char c) {
    return c == '=' || c == ';' || c == '\r' || c == '\n';
}
bool IsValueEnd(char c) {
    return c == ';' || c == '\r' || c == '\t' || c == ']' || c == '\n';
}

// First bytes of a line at which the scan for the end of a section stops.
bool IsSectionEndByte(unsigned char c) {
    return c == '\r' || c == '\n' || c == '\t' || c == ' ' || c == '/' || c == 0xFF || c == 0xFD;
}

}  // namespace

bool IniDocument::Load(const std::string& path) {
    Clear();
    if (path.size() > kMaxPathLength) {
        path_.clear();
        return false;
    }
    path_ = path;
    auto bytes = ReadWholeFile(path);
    if (!bytes || bytes->empty()) {
        return false;
    }
    bytes_ = std::move(*bytes);
    RebuildSectionIndex();
    return true;
}

bool IniDocument::Save(const std::string& path) {
    return !path.empty() && ReplaceFileContents(path, bytes_);
}

void IniDocument::Clear() {
    bytes_.clear();
    bytes_.shrink_to_fit();
    sectionOffsets_.clear();
    sectionOffsets_.shrink_to_fit();
}

std::string IniDocument::GetString(std::string_view section, std::string_view key) const {
    std::size_t sectionOffset = FindSection(section);
    if (sectionOffset == kMissing) {
        return {};
    }
    const std::size_t valueStart = FindKey(sectionOffset, key).valueStart;
    if (valueStart == kMissing) {
        return {};
    }
    return bytes_.substr(valueStart, ValueEnd(valueStart) - valueStart);
}

bool IniDocument::SetString(std::string_view section, std::string_view key,
                            std::string_view value) {
    if (section.size() > kMaxSectionName || key.size() > kMaxKeyName) {
        return false;
    }
    std::size_t sectionOffset = FindSection(section);
    if (sectionOffset == kMissing) {
        AddSection(section);
        InsertLine(FindSectionEnd(section), key, value);
        return true;
    }
    if (FindKey(sectionOffset, key).valueStart == kMissing) {
        InsertLine(FindSectionEnd(section), key, value);
        return true;
    }
    ReplaceValue(sectionOffset, key, value);
    return Save();
}

std::size_t IniDocument::NextLine(std::size_t pos) const {
    std::size_t lf = bytes_.find('\n', pos);
    return lf == std::string::npos ? bytes_.size() : lf + 1;
}

std::size_t IniDocument::FindSection(std::string_view name) const {
    for (std::int32_t offset : sectionOffsets_) {
        std::size_t end = offset;
        while (end < bytes_.size() && !IsHeaderNameEnd(bytes_[end])) {
            ++end;
        }
        if (std::string_view(bytes_).substr(offset, end - offset) == name) {
            return offset;
        }
    }
    return kMissing;
}

IniDocument::KeyPlace IniDocument::FindKey(std::size_t sectionOffset, std::string_view key) const {
    std::size_t pos = sectionOffset;
    for (;;) {
        pos = NextLine(pos);
        std::size_t nameEnd = pos;
        while (nameEnd < bytes_.size() && !IsNamePartEnd(bytes_[nameEnd])) {
            ++nameEnd;
        }
        std::string_view name = std::string_view(bytes_).substr(pos, nameEnd - pos);
        // The value starts after the delimiter. A name that runs to the end of the buffer or
        // to an LF has no delimiter: its value is empty and starts right behind the name.
        const bool delimited = nameEnd < bytes_.size() && bytes_[nameEnd] != '\n';
        const std::size_t valueStart = delimited ? nameEnd + 1 : nameEnd;
        if (name == key) {
            return {valueStart, delimited};
        }
        if (valueStart >= bytes_.size()) {
            return {kMissing, false};
        }
        pos = valueStart;
    }
}

std::size_t IniDocument::ValueEnd(std::size_t valueStart) const {
    std::size_t end = valueStart;
    while (end < bytes_.size() && !IsValueEnd(bytes_[end])) {
        ++end;
    }
    return end;
}

std::size_t IniDocument::FindSectionEnd(std::string_view name) const {
    std::size_t pos = NextLine(FindSection(name));
    while (pos < bytes_.size()) {
        if (IsSectionEndByte(static_cast<unsigned char>(bytes_[pos]))) {
            return pos;
        }
        pos = NextLine(pos);
    }
    return bytes_.size();
}

bool IniDocument::AddSection(std::string_view name) {
    if (FindSection(name) != kMissing) {
        return false;
    }
    bytes_.append("\r\n[").append(name).append("]\r\n");
    RebuildSectionIndex();
    return true;
}

void IniDocument::InsertLine(std::size_t pos, std::string_view key, std::string_view value) {
    std::size_t at = pos >= bytes_.size() ? bytes_.size() : NextLine(pos);
    std::string line;
    // A last line without a line end would otherwise run into the new one.
    if (at == bytes_.size() && !bytes_.empty() && bytes_.back() != '\n') {
        line = "\r\n";
    }
    line.append(key).append("=").append(value).append("\r\n");
    bytes_.insert(at, line);
    RebuildSectionIndex();
}

void IniDocument::ReplaceValue(std::size_t sectionOffset, std::string_view key,
                               std::string_view value) {
    const KeyPlace place = FindKey(sectionOffset, key);
    const std::size_t start = place.valueStart;
    // A key line without a delimiter gets one; writing the value straight behind the name
    // would make it part of the name.
    std::string replacement = place.delimited ? std::string() : std::string("=");
    replacement.append(value);
    bytes_.replace(start, ValueEnd(start) - start, replacement);
    RebuildSectionIndex();
}

void IniDocument::RebuildSectionIndex() {
    sectionOffsets_.clear();
    for (std::size_t pos = 0; pos < bytes_.size(); pos = NextLine(pos)) {
        if (bytes_[pos] == '[') {
            sectionOffsets_.push_back(static_cast<std::int32_t>(pos + 1));
        }
    }
}

}  // namespace orvo

#pragma once
// The tool's own INI reader and writer for CONFIG.INI.
//
// A document holds the exact bytes of one file and answers every lookup by scanning them; an
// update edits the bytes in place. Nothing is parsed into a tree: byte offsets are the only
// structure. Text model, as every operation below reads it:
//   - a line starts at offset 0 or just after an LF;
//   - a section header is a line starting with '['; its name runs to the first ']', ';', CR,
//     tab or the end of the line;
//   - a key line's name part runs from the line start to the first '=', ';', CR or LF; blanks
//     belong to the name and names compare as exact, case-sensitive bytes;
//   - a value starts after that delimiter and runs to the first ';', CR, tab, ']' or the end of
//     the line, so a comment after ';' is never part of it; a name part that ends at an LF or
//     at the end of the file has the empty value, and an update writes '=' and the value
//     behind the name;
//   - a key missing from its own section is found in a later one: the scan does not stop at the
//     next header. The first match wins, for sections and keys alike.
//
// Results, documented once:
//   Load       true when the file exists and holds at least one byte; otherwise the document is
//              left empty and the result is false. A path over kMaxPathLength is refused.
//   Save       true when the bytes reached the file. The file is replaced in one step, so it is
//              either wholly old or wholly new; a read-only file is never touched (false).
//   GetString  the value, or the empty text for a missing section or key.
//   SetString  replaces an existing value and saves: the result of Save. A missing key or
//              section is added in memory only (true) and the file is not written. A section
//              name over kMaxSectionName or a key over kMaxKeyName bytes is refused (false).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class IniDocument {
public:
    static constexpr std::size_t kMaxPathLength = 259;
    static constexpr std::size_t kMaxSectionName = 249;
    static constexpr std::size_t kMaxKeyName = 252;

    IniDocument() = default;
    explicit IniDocument(const std::string& path) { Load(path); }
    virtual ~IniDocument() = default;

    bool Load(const std::string& path);
    bool Save() { return Save(path_); }
    bool Save(const std::string& path);
    void Clear();

    std::string GetString(std::string_view section, std::string_view key) const;
    bool SetString(std::string_view section, std::string_view key, std::string_view value);

    const std::string& Bytes() const { return bytes_; }
    int SectionCount() const { return static_cast<int>(sectionOffsets_.size()); }

private:
    static constexpr std::size_t kMissing = static_cast<std::size_t>(-1);

    std::size_t NextLine(std::size_t pos) const;
    std::size_t FindSection(std::string_view name) const;
    // Where a key's value starts (kMissing when the key is absent), and whether a delimiter
    // ('=', ';' or CR) stands before it.
    struct KeyPlace {
        std::size_t valueStart;
        bool delimited;
    };
    KeyPlace FindKey(std::size_t sectionOffset, std::string_view key) const;
    std::size_t FindSectionEnd(std::string_view name) const;
    std::size_t ValueEnd(std::size_t valueStart) const;
    bool AddSection(std::string_view name);
    void InsertLine(std::size_t pos, std::string_view key, std::string_view value);
    void ReplaceValue(std::size_t sectionOffset, std::string_view key, std::string_view value);
    void RebuildSectionIndex();

    std::string path_;
    std::string bytes_;  // exactly the file's bytes: no terminator, no line-end translation
    std::vector<std::int32_t> sectionOffsets_;  // offset just after each header's '['
};

}  // namespace orvo

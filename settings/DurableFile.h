#pragma once
// Whole-file reads and writes that never leave a half-written file behind.
//
// Every path is a narrow text in UTF-8, on Windows too, where the calls below take it as UTF-16:
// a path from orvo's command line keeps every character it had. A path read from the settings,
// which are in the ANSI code page, is converted first (Utf8FromAnsi of TextCodec.h).
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

// The path as std::filesystem and the streams take it. A std::string alone would be read in the
// ANSI code page on Windows.
inline std::filesystem::path FileSystemPath(const std::string& path) {
    return std::filesystem::u8path(path);
}

// std::fopen with the path in UTF-8.
std::FILE* OpenFile(const std::string& path, const char* mode);

// The file's bytes, or nothing when it cannot be opened or read. Files over 2 GiB are refused.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes one chunk; returns the number of bytes it wrote. Tests pass one that fails part-way.
using ChunkWriter = std::function<std::size_t(std::FILE*, const char*, std::size_t)>;

// Replaces the contents of `path` in one step: the bytes go to a temporary file beside it, are
// flushed to the disk, and the temporary file then takes the old one's place. On any failure the
// old file stays as it was and the temporary file is removed. A read-only file is not replaced.
bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const ChunkWriter& write = {});

// Appends `bytes` to `path`, creating it when missing, in one write flushed to the disk. On any
// failure the file is cut back to its old length, so no part of `bytes` is left in it; what
// another writer appended after them is never cut.
bool AppendToFile(const std::string& path, std::string_view bytes, const ChunkWriter& write = {});

// Pushes what was written to `file` through to the disk (FlushFileBuffers or fsync).
bool FlushToDisk(std::FILE* file);

// Cuts the open `file` to `length` bytes.
bool CutBack(std::FILE* file, long length);

bool IsReadOnlyFile(const std::string& path);

// Opens `path` for reading in binary mode. On Windows the file stays open to a replace by
// another thread (the window's thread stores a language choice while the upgrade worker reads
// CONFIG.INI), and a replace under way does not refuse the open.
std::FILE* OpenForReading(const std::string& path);

// Moves `from` over `to`, replacing it, and returns once the move is on the disk. On Windows a
// reader that holds `to` open for a moment is waited out.
bool MoveFileOver(const std::string& from, const std::string& to);

}  // namespace orvo

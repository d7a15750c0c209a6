#pragma once
// The language code-page lines of CONFIG.INI: any line, in any section, holding "PAGE" and '='.
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

struct CodePageLine {
    std::string sectionName;  // the text before the first "_PAGE"; empty when there is none
    int codePage = 0;         // leading integer after the first '=', read as scanf's %d reads it
};

// Nothing when the line is no code-page line.
std::optional<CodePageLine> ParseCodePageLine(std::string_view line);

// The three language.ini sections the tool offers: LANGUAGE_EN, LANGUAGE_FR, LANGUAGE_SP.
bool IsOfferedLanguageSection(std::string_view sectionName);

// scanf's %d: leading white space, an optional sign, then digits; 0 when no digit follows.
// Values beyond the range of int saturate.
int ScanDecimal(std::string_view text);

}  // namespace orvo

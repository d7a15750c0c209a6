#include "ManifestCheck.h"

#include <regex>

namespace orvo::testbed {
namespace {

struct SupportedOs {
    const char* name;
    const char* id;
};

constexpr SupportedOs kSupportedOs[] = {
    {"Windows 7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
    {"Windows 8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
    {"Windows 8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
    {"Windows 10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
};

bool Says(const std::string& text, const std::string& pattern) {
    return std::regex_search(text, std::regex(pattern, std::regex::icase));
}

// An element's text, as <name ...>text</name>, blanks around it allowed.
std::string ElementWithText(const std::string& name, const std::string& text) {
    return "<" + name + "(\\s[^>]*)?>\\s*" + text + "\\s*</" + name + "\\s*>";
}

std::string Escaped(const std::string& literal) {
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    return std::regex_replace(literal, special, R"(\$&)");
}

}  // namespace

std::vector<std::string> ManifestProblems(const std::string& manifest) {
    if (manifest.empty()) {
        return {"no application manifest (resource type 24, id 1)"};
    }
    // What a comment says is no setting.
    const std::string text =
        std::regex_replace(manifest, std::regex("<!--[\\s\\S]*?-->"), std::string());
    std::vector<std::string> problems;
    const std::string quote = "[\"']";
    if (!Says(text,
              "<requestedExecutionLevel\\s[^>]*\\blevel\\s*=\\s*" + quote + "asInvoker" + quote)) {
        problems.push_back("requestedExecutionLevel is not asInvoker");
    }
    if (Says(text, "\\buiAccess\\s*=\\s*" + quote + "true" + quote)) {
        problems.push_back("uiAccess is asked for");
    }
    for (const SupportedOs& os : kSupportedOs) {
        if (!Says(text, "<supportedOS\\s[^>]*\\bId\\s*=\\s*" + quote + Escaped(os.id) + quote)) {
            problems.push_back(std::string("no supportedOS entry for ") + os.name + " " + os.id);
        }
    }
    if (!Says(text, ElementWithText("dpiAware", "false"))) {
        problems.push_back("dpiAware is not stated as false");
    }
    if (!Says(text, ElementWithText("dpiAwareness", "unaware"))) {
        problems.push_back("dpiAwareness is not stated as unaware");
    }
    if (!Says(text, ElementWithText("gdiScaling", "true"))) {
        problems.push_back("gdiScaling is not true");
    }
    if (Says(text, "Microsoft\\.Windows\\.Common-Controls")) {
        problems.push_back("depends on Common Controls 6, which would re-theme the controls");
    }
    return problems;
}

}  // namespace orvo::testbed

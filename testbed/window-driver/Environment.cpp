#include "Environment.h"

#include <algorithm>
#include <cwctype>

namespace orvo::drive {
namespace {

std::wstring Upper(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    return text;
}

// The name of "NAME=value"; the first character belongs to the name even when it is '='.
std::wstring NameOf(const std::wstring& variable) {
    const std::size_t equals = variable.find(L'=', 1);
    return Upper(variable.substr(0, equals));
}

}  // namespace

std::vector<std::wstring> ChangeEnvironment(std::vector<std::wstring> variables,
                                            const std::vector<EnvironmentChange>& changes) {
    for (const EnvironmentChange& change : changes) {
        const std::wstring name = Upper(change.name);
        variables.erase(std::remove_if(variables.begin(), variables.end(),
                                       [&](const std::wstring& v) { return NameOf(v) == name; }),
                        variables.end());
        if (change.value) {
            variables.push_back(change.name + L"=" + *change.value);
        }
    }
    std::stable_sort(
        variables.begin(), variables.end(),
        [](const std::wstring& a, const std::wstring& b) { return NameOf(a) < NameOf(b); });
    return variables;
}

std::wstring EnvironmentBlock(const std::vector<std::wstring>& variables) {
    std::wstring block;
    for (const std::wstring& variable : variables) {
        block += variable;
        block += L'\0';
    }
    block += L'\0';
    if (variables.empty()) {
        block += L'\0';  // an empty block is still two zeros
    }
    return block;
}

}  // namespace orvo::drive

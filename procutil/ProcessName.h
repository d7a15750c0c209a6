#pragma once
// The one rule by which a name given to the library picks out running processes.
#include <string_view>

namespace orvo::procutil {

// True when `wanted` is the whole of `reported`, ignoring the case of the ASCII letters A-Z and
// a-z only; every other byte must be equal, so there is no wildcard, no prefix match and no
// folding by code page. A null `wanted` matches nothing and is not read.
bool ProcessNamesMatch(const char* wanted, std::string_view reported);

}  // namespace orvo::procutil

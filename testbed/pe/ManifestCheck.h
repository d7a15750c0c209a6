#pragma once
// What an executable's application manifest must say on Windows (cmake/manifest/Orvo.manifest):
// asInvoker, the supportedOS entries of Windows 7 to 11, DPI-unaware stated explicitly with GDI
// scaling, and no Common Controls 6.
#include <string>
#include <vector>

namespace orvo::testbed {

// What the manifest lacks or says wrongly, a line each; empty when it says all it must. An empty
// manifest (a program without one) has one problem: that.
std::vector<std::string> ManifestProblems(const std::string& manifest);

}  // namespace orvo::testbed

#pragma once
// The exports of Pyxol.dll: find and end running processes by executable file name.
// The name is an 8-bit text compared with the bare file name and extension that the process
// list shows, ignoring the case of ASCII letters only (no path, no wildcard, no prefix).

#ifdef __cplusplus
extern "C" {
#endif

// 1 when at least one running process has the name, else 0.
int SearchProgress(const char* name);

// Terminates every running process with the name, the caller itself last. Nonzero when the
// process snapshot was taken and released, whether or not anything matched.
int CloseProgress(const char* name);

// How callers that load the library at run time see both exports.
typedef int (*PyxolFunction)(const char* name);

#ifdef __cplusplus
}
#endif

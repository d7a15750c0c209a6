#pragma once
// The translated controls of the main window and the language.ini key each one shows.
namespace orvo::testing {

struct Caption {
    int id;
    const wchar_t* key;
};

inline constexpr Caption kCaptions[] = {
    {1013, L"C2"}, {1014, L"C3"}, {1003, L"C4"}, {1010, L"C0"}, {1005, L"C1"}, {1001, L"C5"},
    {1006, L"C6"}, {1007, L"C7"}, {2, L"C9"},    {1017, L"C5"}, {1018, L"C9"},
};

}  // namespace orvo::testing

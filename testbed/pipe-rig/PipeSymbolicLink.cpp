#include "PipeSymbolicLink.h"

#include <winternl.h>

extern "C" NTSTATUS NTAPI NtCreateSymbolicLinkObject(PHANDLE link, ACCESS_MASK access,
                                                     POBJECT_ATTRIBUTES attributes,
                                                     PUNICODE_STRING target);

namespace orvo::piperig {

namespace {

// SYMBOLIC_LINK_ALL_ACCESS
constexpr ACCESS_MASK kLinkAccess = 0xF0001;

UNICODE_STRING Counted(std::wstring& text) {
    UNICODE_STRING counted;
    counted.Buffer = text.data();
    counted.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    counted.MaximumLength = counted.Length;
    return counted;
}

}  // namespace

bool PipeSymbolicLink::Create(const std::string& linkName) {
    // \\?\name is the Win32 spelling of the object \??\name.
    std::wstring name = L"\\??\\" + std::wstring(linkName.begin() + 4, linkName.end());
    std::wstring target = L"\\Device\\NamedPipe";
    UNICODE_STRING countedName = Counted(name);
    UNICODE_STRING countedTarget = Counted(target);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &countedName, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    HANDLE link = nullptr;
    if (NtCreateSymbolicLinkObject(&link, kLinkAccess, &attributes, &countedTarget) < 0) {
        return false;
    }
    link_.Reset(link);
    return true;
}

}  // namespace orvo::piperig

#include "DeviceRegistration.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

namespace orvo::piperig {

namespace {

const char kInterfaceClass[] = "{8f49042e-a314-4211-b893-2ebf51bff94d}";
// The device's own class matters to nobody here; any valid one will do.
const char kDeviceClass[] = "{36fc9e60-c465-11cf-8056-444553540000}";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class RegistryKey {
public:
    explicit RegistryKey(const std::string& path) {
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~RegistryKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool SetText(const char* name, const std::string& value) {
        return key_ != nullptr &&
               RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    }
    bool SetNumber(const char* name, DWORD value) {
        return key_ != nullptr &&
               RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                              sizeof value) == ERROR_SUCCESS;
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace

DeviceRegistration::DeviceRegistration(std::string instanceName)
    : instanceName_(std::move(instanceName)) {}

DeviceRegistration::~DeviceRegistration() {
    Unlink();
}

bool DeviceRegistration::Link() {
    const std::string instance = "ROOT\\" + instanceName_ + "\\0000";
    RegistryKey device("System\\CurrentControlSet\\Enum\\" + instance);
    RegistryKey iface(InterfaceKey());
    if (!device.SetText("ClassGUID", kDeviceClass) || !iface.SetText("DeviceInstance", instance)) {
        return false;
    }
    linked_ = SetLinked(1);
    return linked_;
}

void DeviceRegistration::Unlink() {
    if (linked_) {
        SetLinked(0);
        linked_ = false;
    }
}

std::string DeviceRegistration::DevicePath() const {
    return LinkPath() + "\\" + Lower(instanceName_);
}

std::string DeviceRegistration::LinkPath() const {
    return Lower("\\\\?\\root#" + instanceName_ + "#0000#" + kInterfaceClass);
}

std::string DeviceRegistration::InterfaceKey() const {
    return std::string("System\\CurrentControlSet\\Control\\DeviceClasses\\") + kInterfaceClass +
           "\\##?#" + Lower("root#" + instanceName_ + "#0000#") + kInterfaceClass;
}

bool DeviceRegistration::SetLinked(unsigned long linked) {
    // The interface's subkey is # and its reference string.
    return RegistryKey(InterfaceKey() + "\\#" + instanceName_ + "\\Control")
        .SetNumber("Linked", linked);
}

}  // namespace orvo::piperig

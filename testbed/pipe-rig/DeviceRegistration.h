#pragma once
// The rig's device as the setup API sees it: a root-enumerated device with one interface of the
// pipe device's class, written into the registry, whose reference string is the instance name.
// While "linked" the interface is present; unlinking makes the device look unplugged.
#include <string>

namespace orvo::piperig {

class DeviceRegistration {
public:
    // `instanceName` names the device below ROOT, for example ORVO_PIPE_RIG.
    explicit DeviceRegistration(std::string instanceName);
    ~DeviceRegistration();  // unlinks, if linked
    DeviceRegistration(const DeviceRegistration&) = delete;
    DeviceRegistration& operator=(const DeviceRegistration&) = delete;

    // Writes the device and its interface, linked; false if the registry refuses.
    bool Link();
    void Unlink();

    // The path the setup API reports for the interface: \\?\root#<name>#0000#{class}\<name>,
    // lower case.
    std::string DevicePath() const;
    // The same without the reference string: what a symbolic link of the object name space
    // must be called for the device path to lead somewhere.
    std::string LinkPath() const;

private:
    std::string InterfaceKey() const;
    bool SetLinked(unsigned long linked);

    std::string instanceName_;
    bool linked_ = false;
};

}  // namespace orvo::piperig

// The device facts, read once from the host's device services.
#include "services/device.h"

#include "platform/s3e.h"

DeviceFacts device = {0, 0, false};

bool DeviceFacts::DesktopSimulator() const {
    return os == S3E_OS_ID_DESKTOP;
}

DeviceFacts MakeDeviceFacts(int32_t os, int32_t language) {
    return DeviceFacts{os, language, language == S3E_DEVICE_LANGUAGE_RUSSIAN};
}

void ReadDeviceFacts() {
    device = MakeDeviceFacts(s3eDeviceGetInt(S3E_DEVICE_OS), s3eDeviceGetInt(S3E_DEVICE_LANGUAGE));
}

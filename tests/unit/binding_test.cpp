// Binding the host's services by name hash, and what an unbound service gives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hosts/common/host.h"
#include "platform/binding.h"
#include "platform/s3e.h"

namespace {

struct Unbind {
    ~Unbind() { platform::BindHostServices(nullptr); }
};

TEST(Binding, Djb2HashOfNames) {
    EXPECT_EQ(platform::HashServiceName(""), 5381u);
    // 5381 * 33 + 'a'
    EXPECT_EQ(platform::HashServiceName("a"), 177670u);
    // Wraps around in 32 bits without trouble on long names.
    EXPECT_EQ(platform::HashServiceName("s3eFileOpen"),
              platform::HashServiceName(std::string("s3eFileOpen").c_str()));
}

TEST(Binding, AllServicesBoundGivesNull) {
    Unbind unbind;
    host::ServiceRegistry registry;
    host::RegisterServices(registry);
    EXPECT_EQ(IwAppEntry(&registry.Descriptor()), nullptr);
    for (int i = 0; i < platform::ServiceCount(); ++i) {
        EXPECT_NE(platform::BoundService(i), nullptr) << platform::ServiceName(i);
    }
}

TEST(Binding, OneMissingServiceIsNamedOnItsOwnLine) {
    Unbind unbind;
    host::ServiceRegistry full;
    host::RegisterServices(full);
    const IwAppDescriptor& d = full.Descriptor();
    // Rebuild the descriptor without s3eFileDelete, plus a service the module does not know.
    std::vector<uint32_t> hashes;
    std::vector<void*> addresses;
    uint32_t skip = platform::HashServiceName("s3eFileDelete");
    for (int i = 0; i < d.serviceCount; ++i) {
        if (d.hashes[i] == skip) continue;
        hashes.push_back(d.hashes[i]);
        addresses.push_back(d.addresses[i]);
    }
    hashes.push_back(platform::HashServiceName("s3eSomethingElse"));
    addresses.push_back(reinterpret_cast<void*>(&Binding_Djb2HashOfNames_Test::SetUpTestCase));
    IwAppDescriptor partial{static_cast<int32_t>(hashes.size()), 0, hashes.data(),
                            addresses.data()};
    const char* warning = IwAppEntry(&partial);
    ASSERT_NE(warning, nullptr);
    EXPECT_STREQ(warning,
                 "Warning: Couldn't bind the following functions (not exported by the loader). "
                 "Crash is likely.:\ns3eFileDelete\n");
}

TEST(Binding, UnboundServicesGiveNeutralResults) {
    Unbind unbind;
    IwAppDescriptor empty{0, 0, nullptr, nullptr};
    const char* warning = IwAppEntry(&empty);
    ASSERT_NE(warning, nullptr);
    // Every service is listed, in table order, each on its own line.
    std::string text(warning);
    EXPECT_NE(text.find("\ns3eFileOpen\ns3eFileRead\n"), std::string::npos);
    EXPECT_LE(text.size(), 767u);

    EXPECT_EQ(s3eFileOpen("tasks/x", "r"), nullptr);
    char buf[8] = "abc";
    EXPECT_EQ(s3eFileReadString(buf, sizeof buf, nullptr), nullptr);
    EXPECT_EQ(s3eFileCheckExists("Documents"), S3E_FALSE);
    EXPECT_EQ(s3eFileGetFileInt("Documents", S3E_FILE_ISDIR), 0);
    EXPECT_EQ(s3ePointerGetState(0), 0);
    EXPECT_EQ(s3eKeyboardGetState(s3eKeyEsc), 0);
    EXPECT_EQ(s3eDeviceCheckQuitRequest(), S3E_FALSE);
    EXPECT_EQ(s3eDeviceGetInt(S3E_DEVICE_OS), 0);
    EXPECT_EQ(s3eTimerGetMs(), 0u);
    EXPECT_EQ(s3eSurfaceGetInt(S3E_SURFACE_WIDTH), 0);
    EXPECT_NE(s3eExtGetHash(host::kExtDialog, buf, sizeof buf), S3E_RESULT_SUCCESS);
    s3eSurfaceShow(0);
    s3eDebugOutputString("nothing happens");
}

TEST(Binding, DescriptorHashesFindTheirRecords) {
    Unbind unbind;
    host::ServiceRegistry registry;
    host::RegisterServices(registry);
    ASSERT_EQ(IwAppEntry(&registry.Descriptor()), nullptr);
    // A bound service really reaches the host implementation.
    host::HostSetup setup;
    setup.os = 18;
    setup.language = 16;
    host::ConfigureHost(setup);
    EXPECT_EQ(s3eDeviceGetInt(S3E_DEVICE_OS), 18);
    EXPECT_EQ(s3eDeviceGetInt(S3E_DEVICE_LANGUAGE), 16);
}

}  // namespace

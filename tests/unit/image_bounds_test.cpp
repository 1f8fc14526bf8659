// Image files through the engine at the edge of what the game can use: the
// largest side loads, one more pixel is refused, and so is a small file whose
// header claims far more pixels than its data could hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/iwgx.h"
#include "tests/support/test_host.h"

namespace {

TEST(ImageBounds, LargestUsableSideLoadsAndOneMoreIsRefused) {
    testsupport::BoundHost host;
    std::vector<uint8_t> row(4097 * 2 * 4, 200);
    ASSERT_TRUE(testsupport::WritePngRGBA(host.Path("images/wide.png"), 4096, 2, row.data()));
    ASSERT_TRUE(testsupport::WritePngRGBA(host.Path("images/wider.png"), 4097, 2, row.data()));
    ASSERT_TRUE(testsupport::WritePngRGBA(host.Path("images/tall.png"), 2, 4097, row.data()));
    CIwTexture wide, wider, tall;
    ASSERT_TRUE(wide.LoadFromFile("images/wide.png"));
    EXPECT_EQ(wide.GetWidth(), 4096);
    EXPECT_FALSE(wider.LoadFromFile("images/wider.png"));
    EXPECT_FALSE(tall.LoadFromFile("images/tall.png"));
    EXPECT_FALSE(wider.IsLoaded());
}

// A JPEG header for width x height followed by no picture data: libjpeg would
// fill the missing data with grey and call it a picture.
std::string HeaderOnlyJpeg(uint16_t width, uint16_t height) {
    std::string j = {'\xFF', '\xD8'};
    // One quantisation table, all ones.
    j += {'\xFF', '\xDB', 0, 67, 0};
    j += std::string(64, '\x01');
    // Baseline frame, one component.
    j += {'\xFF', '\xC0', 0, 11, 8};
    j += {static_cast<char>(height >> 8), static_cast<char>(height & 0xFF)};
    j += {static_cast<char>(width >> 8), static_cast<char>(width & 0xFF)};
    j += {1, 1, 0x11, 0};
    // Huffman tables: DC and AC, each a single code of length 1 for symbol 0.
    for (char tableClass : {'\x00', '\x10'}) {
        j += {'\xFF', '\xC4', 0, 20, tableClass, 1};
        j += std::string(15, '\0');
        j += '\0';
    }
    // Start of scan, then the end of the file.
    j += {'\xFF', '\xDA', 0, 8, 1, 1, 0, 0, 63, 0};
    j += {'\xFF', '\xD9'};
    return j;
}

TEST(ImageBounds, SmallFileClaimingAHugeSizeIsRefused) {
    testsupport::BoundHost host;
    testsupport::WriteFile(host.Path("images/small.jpg"), HeaderOnlyJpeg(16, 16));
    testsupport::WriteFile(host.Path("images/huge.jpg"), HeaderOnlyJpeg(4000, 4000));
    CIwTexture small, huge;
    // Within reach of its bytes the same damaged file still gives a picture...
    ASSERT_TRUE(small.LoadFromFile("images/small.jpg"));
    EXPECT_EQ(small.GetWidth(), 16);
    // ...but 16 million pixels from a hundred-odd bytes is a lie.
    EXPECT_FALSE(huge.LoadFromFile("images/huge.jpg"));
    EXPECT_FALSE(huge.IsLoaded());
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "fileops/sha256.h"
#include "support/scratch_machine.h"

namespace {

std::string HexOf(const std::string &message, DWORD chunk) {
    Sha256 hash;
    Sha256Begin(&hash);
    for (size_t at = 0; at < message.size(); at += chunk) {
        DWORD size = static_cast<DWORD>(message.size() - at < chunk ? message.size() - at : chunk);
        Sha256Add(&hash, message.data() + at, size);
    }
    unsigned char digest[kSha256Size];
    Sha256End(&hash, digest);
    char text[kSha256TextSize];
    FormatSha256(digest, text);
    return text;
}

struct Vector {
    std::string message;
    const char *expected;
};

// The FIPS 180-4 examples, one million "a", and the lengths at which the
// padding spills into a second block.
const Vector kVectors[] = {
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
     "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
    {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
    {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
    {std::string(63, 'a'), "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
    {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
    {std::string(119, 'a'), "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
    {std::string(120, 'a'), "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"},
};

TEST(Sha256Test, KnownVectorsWholeAndInUnevenPieces) {
    for (const Vector &v : kVectors) {
        SCOPED_TRACE("length " + std::to_string(v.message.size()));
        EXPECT_EQ(HexOf(v.message, v.message.size() + 1), v.expected);
        EXPECT_EQ(HexOf(v.message, 7), v.expected);
        EXPECT_EQ(HexOf(v.message, 65), v.expected);
    }
}

class HashFileTest : public ScratchTest {};

TEST_F(HashFileTest, HashesAFileLongerThanOneReadAndReportsAMissingOne) {
    std::string content;
    for (int i = 0; i < 25600; ++i) content += static_cast<char>(i % 256);
    scratch::MakeFile("payload.bin", content);
    unsigned char digest[kSha256Size];
    DWORD error = 1;
    ASSERT_TRUE(HashFile("payload.bin", digest, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SUCCESS));
    char text[kSha256TextSize];
    FormatSha256(digest, text);
    EXPECT_STREQ(text, "22c27b021752596140145a93194d9cdf33b0b1b454f50fd1b430491eb3eb3cb9");

    EXPECT_FALSE(HashFile("missing.bin", digest, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(scratch::OpenHandleCount(), 0);
}

} // namespace

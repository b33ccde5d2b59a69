// Whole files read with a size limit, over real files in the temporary folder.
#include "util/whole_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qv {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string WriteTemp(const std::string& name, const Bytes& bytes) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

TEST(ReadWholeFile, GivesEveryByteUpToTheLimitAndRefusesOneMore) {
    const Bytes four{0, 0xFF, '\r', '\n'};
    const std::string path = WriteTemp("qv-read-file-four", four);
    Bytes got{9, 9};
    EXPECT_EQ(ReadWholeFile(path, 4, got), ReadOutcome::kRead);
    EXPECT_EQ(got, four);
    EXPECT_EQ(ReadWholeFile(path, 3, got), ReadOutcome::kTooLarge);
    EXPECT_TRUE(got.empty());

    const std::string empty = WriteTemp("qv-read-file-empty", {});
    got = {1};
    EXPECT_EQ(ReadWholeFile(empty, 0, got), ReadOutcome::kRead);
    EXPECT_TRUE(got.empty());

    EXPECT_EQ(ReadWholeFile(path + "-missing", 4, got), ReadOutcome::kCannotOpen);
    std::remove(path.c_str());
    std::remove(empty.c_str());
}

}  // namespace
}  // namespace qv

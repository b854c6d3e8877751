// A whole file's bytes, read or written (its folders made), for tests that set up trees.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vx::testing {

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace vx::testing

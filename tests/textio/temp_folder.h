// A fresh folder under the system's temp folder for one test, removed afterwards, with helpers to
// name files in it by Windows-form paths and to look at their bytes.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/scratch_directory.h"
#include "platform/text.h"

namespace vx::textio::testing {

class TempFolder {
  public:
    TempFolder() : host_(dir_.Path().string()) {}

    // Host path of a name in the folder (name as UTF-8).
    std::string Host(const std::string& name) const { return host_ + "/" + name; }

    // Windows-form path of a name in the folder: drive Z: is the host root.
    std::u16string Windows(std::u16string_view name) const {
        std::u16string path = u"Z:" + vx::platform::FromUtf8(host_) + u"\\";
        for (auto& c : path) {
            if (c == u'/') c = u'\\';
        }
        return path + std::u16string(name);
    }

    std::string ReadBytes(const std::string& hostPath) const {
        std::ifstream in(hostPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void WriteBytes(const std::string& hostPath, const std::string& bytes) const {
        std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

  private:
    vx::testing::ScratchDirectory dir_{"vx_textio_"};
    std::string host_;
};

}  // namespace vx::textio::testing

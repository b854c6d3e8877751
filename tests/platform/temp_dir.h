// A fresh temporary folder for a test, removed with everything in it afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/scratch_directory.h"
#include "platform/paths.h"

namespace vx::platform::testing {

class TempDir {
  public:
    TempDir() : host_(dir_.Path().string()) { ClearPathCache(); }

    const std::string& Host() const { return host_; }
    // The folder in Windows form, without a trailing backslash.
    std::u16string Win() const { return ToWindowsPath(host_); }
    std::string HostOf(const std::string& rel) const { return host_ + "/" + rel; }

    void MakeDirs(const std::string& rel) const {
        std::filesystem::create_directories(HostOf(rel));
    }
    void WriteFile(const std::string& rel, const std::string& content = "x") const {
        std::ofstream(HostOf(rel), std::ios::binary) << content;
    }

  private:
    vx::testing::ScratchDirectory dir_{"vxplat_"};
    std::string host_;
};

}  // namespace vx::platform::testing

// The log of an indexing run: each line goes to the host as it comes, and the run writes them
// all to the database's log file at its end.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/host.h"

namespace vx::indexing {

class RunLog {
  public:
    explicit RunLog(RunDisplay& display) : display_(display) {}

    void Add(std::u16string line) {
        display_.RunLogLine(line);
        lines_.push_back(std::move(line));
    }
    void Clear() { lines_.clear(); }
    const std::vector<std::u16string>& Lines() const { return lines_; }

  private:
    RunDisplay& display_;
    std::vector<std::u16string> lines_;
};

}  // namespace vx::indexing

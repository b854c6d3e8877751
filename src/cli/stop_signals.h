// SIGINT and SIGTERM for a command that runs until it is stopped: the first of them is noted
// (Signal) and makes Fd() readable, so that a poll wakes; a second one ends the program at once,
// by the signal's own action.
#pragma once

namespace vx::cli {

class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // SIGINT or SIGTERM once one came, else 0.
    int Signal() const;
    // Readable once a signal came.
    int Fd() const { return pipe_[0]; }

  private:
    int pipe_[2] = {-1, -1};
};

}  // namespace vx::cli

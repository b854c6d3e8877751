// Opening a local file with the desktop's program for its type (xdg-open), for the result page
// and the manual.
#pragma once

#include <string>

namespace vx::platform {

// How long an opener may take to fail. One that still runs after this counts as a success:
// xdg-open without a desktop environment keeps running in the browser it started.
inline constexpr int kOpenerGraceMs = 4000;

// Starts xdg-open for the file (a host path) and waits at most graceMs for it. False when it
// could not be started or ended with a failure status within that time (no program for the
// type, or a program that refused to start); an opener still running then is left running.
bool OpenWithDesktop(const std::string& hostPath, int graceMs = kOpenerGraceMs);

}  // namespace vx::platform

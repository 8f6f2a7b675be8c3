#pragma once
// Marks of the start-up's steps for the start-up measurement (bench/wine/startup_timing.cpp):
// when the environment variable TORVANE_STARTUP_TRACE names a file, each mark appends a line
// "<step> <milliseconds of the performance counter>" to it. The counter is the system's, so the
// measuring process can set the marks against the moment it started this one. Without the
// variable a mark costs one look at a flag.
namespace torvane {

void StartupMark(const char* step);

}  // namespace torvane

#pragma once
// One running instance per log-on: the first instance holds a named mutex for its whole life.
#include <string>

namespace torvane {

// Creates the mutex (initially owned). True when another instance already holds one of that
// name: the handle is closed again and the caller should end at once. Otherwise the handle
// stays open for the life of the process.
bool CheckPrevInstance(const std::string& mutexName);

}  // namespace torvane

#include "app/single_instance_win.h"

#include <windows.h>

namespace torvane {

bool CheckPrevInstance(const std::string& mutexName) {
    const HANDLE mutex = CreateMutexA(nullptr, TRUE, mutexName.c_str());
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex) CloseHandle(mutex);
        return true;
    }
    // Deliberately never closed: the system releases it when the process ends.
    return false;
}

}  // namespace torvane

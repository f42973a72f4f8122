// The single-instance guard on the named mutex "MultipleStartUpPreventationMinerStart".
#include "instance_lock.h"

namespace orelog {

namespace {
constexpr wchar_t kMutexName[] = L"MultipleStartUpPreventationMinerStart";
}

bool InstanceLock::acquire() {
  if (mutex_ != nullptr) return true;
  HANDLE mutex = CreateMutexW(nullptr, TRUE, kMutexName);
  if (mutex == nullptr) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  mutex_ = mutex;
  return true;
}

void InstanceLock::release() {
  if (mutex_ == nullptr) return;
  ReleaseMutex(mutex_);
  CloseHandle(mutex_);
  mutex_ = nullptr;
}

}  // namespace orelog

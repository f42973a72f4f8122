// The single-instance guard: the named mutex every copy of the program asks for.
#pragma once
#include <windows.h>

namespace orelog {

class InstanceLock {
 public:
  ~InstanceLock() { release(); }
  InstanceLock() = default;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // False when another copy holds the mutex (or it cannot be made); this copy then holds nothing.
  bool acquire();
  void release();

 private:
  HANDLE mutex_ = nullptr;
};

}  // namespace orelog

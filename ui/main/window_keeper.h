// Window objects are never deleted while the process runs: a closed
// window's object may still be named by a thread that has not finished.
// KeepUntilExit records such an object so it stays reachable (leak
// checkers do not report it) and returns it.
#pragma once

#include <vector>

template <typename T>
T* KeepUntilExit(T* object) {
  static auto* kept = new std::vector<const void*>();  // never freed on purpose
  kept->push_back(object);
  return object;
}

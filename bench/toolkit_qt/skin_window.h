// A window built from one skin file of the skins folder, for the benches.
#pragma once

#include <string>
#include <utility>

#include "ui/toolkit/toolkit.h"

namespace qvbench {

class SkinWindow : public tk::WindowImplBase {
 public:
  explicit SkinWindow(std::u16string file) : m_file(std::move(file)) {}
  std::u16string GetWindowClassName() const override { return u"BenchWin"; }
  std::u16string GetSkinFolder() override { return u"Skins/"; }
  std::u16string GetSkinFile() override { return m_file; }

 private:
  std::u16string m_file;
};

}  // namespace qvbench

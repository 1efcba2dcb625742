// The files-in-use seam over msi.dll (the product's components), the
// toolhelp snapshots (every process's modules), opening a file to write,
// Restart Manager, the version block of an executable and the registry's
// pending renames.
#pragma once

#include "installer/in_use_seam.h"

class Win32InUse final : public InUseSeam {
 public:
  void ForEachComponentFile(const char16_t* productCode, Visitor& visitor) override;
  void ForEachModule(Visitor& visitor) override;
  void ForEachProgram(Visitor& visitor) override;
  void ForEachFileIn(const char16_t* folder, Visitor& visitor) override;
  bool Busy(const char16_t* file) override;
  void ForEachRestartManagerHolder(const char16_t* const* files, std::size_t count, Visitor& visitor) override;
  bool Describe(const char16_t* executable, char16_t* buffer, std::size_t capacity) override;
  void ForEachPendingRename(Visitor& visitor) override;
};

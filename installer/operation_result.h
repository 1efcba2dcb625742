// What an operation that changes the machine reports: the step that failed,
// if any, and the Windows error or the service's result code behind it. The
// install session still judges the outcome by the registration; the log and
// the exit code say why.
#pragma once

#include <cstdint>

enum class OperationStep : std::uint8_t {
  None,            // nothing failed
  CheckFolder,     // the folder cannot be the install's target
  TempFolder,      // no temp folder, or one too long for the package's name
  WorkFolder,      // no folder of our own could be made in the temp folder
  PackageResource, // the executable carries no package
  CreateFile,      // the package file could not be created
  WriteFile,       // the package could not be written whole
  CloseFile,       // what was written may not have reached the disk
  HoldFile,        // the written package could not be held against change
  RemoveFile,      // the package or its work folder could not be deleted
  NoPackage,       // an install without a prepared package
  RemoveProduct,   // the older version is still registered after its removal
  InstallProduct,  // the product is not registered after the install
};

struct OperationResult {
  OperationStep failedStep = OperationStep::None;
  // The Windows error of a failed file step, or the service's result code
  // of the last installer call (kept on success too: it may ask for a
  // restart); 0 when neither applies.
  std::uint32_t code = 0;

  bool Succeeded() const { return failedStep == OperationStep::None; }
};

inline OperationResult Failure(OperationStep step, std::uint32_t code) { return {step, code}; }

// What an operation that changes the machine reports: the step that failed,
// if any, with the Windows error behind it, and the service's result when
// it made an installer call. The session judges the outcome by the
// registration; the log and the exit code say why. Each step has a name in
// the log and, for a failed run, a line in a user's words with its code:
// shown under "Installation Failed" and written to the log, so that the user
// knows whether to free disk space, wait for another setup, choose another
// folder or call support.
#pragma once

#include <cstddef>
#include <cstdint>

#include "installer/exit_code.h"

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
  NotInstalled,    // a removal of a product that is not installed
  ExtractFolder,   // the package could not be written to the folder asked for
  PackageRead,     // the package the executable carries is cut short or unreadable
};

struct OperationResult {
  OperationStep failedStep = OperationStep::None;
  // The Windows error of a failed step of ours; 0 otherwise.
  std::uint32_t error = 0;
  // The installer call's result, when one was made (kept on success too:
  // it may ask for a restart).
  bool called = false;
  ServiceResult service;

  bool Succeeded() const { return failedStep == OperationStep::None; }
  // The number the log and the user's line show.
  std::uint32_t Code() const { return called ? service.code : error; }
};

inline OperationResult Failure(OperationStep step, std::uint32_t error) { return {step, error, false, {}}; }
inline OperationResult ServiceCall(ServiceResult service) { return {OperationStep::None, 0, true, service}; }

// The step's name in the log.
const char16_t* StepName(OperationStep step);

// Room for the longest line, terminator included.
inline constexpr std::size_t kFailureReasonCapacity = 128;

// Another installation held the service through every retry; a box in the
// window says it too.
inline constexpr char16_t kAnotherInstallText[] =
    u"Another installation is in progress. Wait until it has finished, then run this installer again.";

// The line for last, the result of the step that ended a failed run.
const char16_t* FailureReason(const OperationResult& last, char16_t (&buffer)[kFailureReasonCapacity]);

// The installer calls that change the machine: removing the installed copy
// of the product and installing the embedded package, which is checked and
// written out first so that an upgrade removes nothing it cannot replace.
// The calls judge their outcome by the registration, not by the service's
// result code, and report the step that failed with its code.
#pragma once

#include <cstddef>
#include <cstdint>

#include "detect/registry_seam.h"
#include "installer/cancel_gate.h"
#include "installer/command_line.h"
#include "installer/folder_check.h"
#include "installer/code_page_seam.h"
#include "installer/in_use_seam.h"
#include "installer/install_observer.h"
#include "installer/installer_service_seam.h"
#include "installer/operation_result.h"
#include "installer/package_extraction.h"
#include "installer/package_file_seam.h"
#include "installer/progress_context.h"
#include "installer/run_log.h"
#include "installer/thread_seam.h"

// What the operations reach the machine through; the start-up builds it.
struct InstallerServices {
  RegistrySeam& registry;
  InstallerServiceSeam& service;
  PackageFileSeam& packageFile;
  CodePageSeam& codePage;
  RunLog& log;
  ThreadSeam& threads;
  InUseSeam& inUse;
};

// The files-in-use kinds (INSTALLLOGMODE_FILESINUSE and _RMFILESINUSE):
// the service asks what to do about programs that hold its files.
inline constexpr unsigned int kFilesInUseMessageFilter = 0x00000020 | 0x02000000;
// Every kind from fatal exit to show dialog, and Restart Manager's files in
// use.
inline constexpr unsigned int kHandlerMessageFilter = 0x7FFF | kFilesInUseMessageFilter;

// Neither call may restart the machine by itself: a deployment decides
// when, and the exit code says that one is needed.
inline constexpr char16_t kNoRestartProperty[] = u"REBOOT=ReallySuppress";
// An unattended run never has a program closed: Restart Manager still
// finds the programs that hold files, and never shuts them down.
inline constexpr char16_t kNoShutdownProperty[] = u"MSIRESTARTMANAGERCONTROL=DisableShutdown";
// A repair: every file that is missing or older, the machine's and the
// user's registry, the shortcuts.
inline constexpr char16_t kRepairProperties[] = u"REINSTALL=ALL REINSTALLMODE=omus";

// When another installation holds the service: this many tries more, this
// far apart.
inline constexpr int kBusyRetries = 3;
inline constexpr std::uint32_t kBusyRetryPauseMs = 3000;

// One run of the installer: the removal and the install share the message
// handler's state, which goes to the service as the handler's context. A
// prepared package that is not installed goes with the operations. Each
// installer call and its result go to the run's log.
class InstallOperations {
 public:
  // observer: told of the service's progress and asked its questions.
  // mode: Quiet registers no handler at all; Passive and Quiet let the
  // service answer its own questions (no box waits for a click).
  InstallOperations(const InstallerServices& services, InstallObserver& observer,
                    UiMode mode = UiMode::Full);
  InstallOperations(const InstallOperations&) = delete;
  InstallOperations& operator=(const InstallOperations&) = delete;

  // The observer of the following calls.
  void ReportTo(InstallObserver& observer) { m_progress.observer = &observer; }

  // Whether the running and following calls are cancelled: asked from any
  // thread, answered by the handler, closed by the caller once an
  // upgrade's removal has removed the older version.
  CancelGate& Cancel() { return m_cancel; }
  const CancelGate& Cancel() const { return m_cancel; }

  // Loads the service (its client and all it loads take tens of
  // milliseconds) while the user reads, rather than after CONTINUE.
  void LoadService() { m_services.service.Prepare(); }

  // Writes the package out before its folder is known, while the user is
  // still at Welcome, so that the install starts at once; PreparePackage
  // then takes it. stop ends the write between two pieces. Logged when it
  // succeeds; a failure is met again, and logged, by PreparePackage.
  void WritePackageAhead(const std::atomic<bool>* stop);

  // Checks that folder can be the install's target (CheckFolderText, and
  // no part of it is a file) and writes the package out for the install,
  // held until InstallPackage() or DiscardPackage(). No installer call;
  // a package prepared before is discarded first, one written ahead is
  // taken.
  // repair: the install reinstalls the installed version's every missing or
  // older file and its registry (REINSTALL=ALL REINSTALLMODE=omus).
  OperationResult PreparePackage(const char16_t* folder, bool repair = false);

  // Removes the product by its product code when it is registered (the
  // result says whether a call was made). Succeeds when the product is not
  // registered afterwards.
  OperationResult RemovePreviousVersion();

  // Installs the prepared package with MAXDIR set to its folder, once:
  // without a prepared package, or after it was installed, there is no
  // installer call. Succeeds when the product is registered afterwards.
  OperationResult InstallPackage();

  // Deletes the prepared package, installed or not.
  void DiscardPackage();

  const ProgressContext& Progress() const { return m_progress; }
  // Where the handler puts the programs the service says hold files.
  void KeepHolders(HoldingPrograms& holders) { m_progress.heldBy = &holders; }

 private:
  void PrepareService();
  // Calls the service until it is not busy, the retries are used up or a
  // cancel ends the wait for them.
  template <typename Call>
  ServiceResult CallService(const char16_t* what, Call call);

  const InstallerServices& m_services;
  const UiMode m_mode;
  CancelGate m_cancel;
  ProgressContext m_progress;
  ExtractedPackage m_package;
  bool m_writtenAhead = false;
  bool m_packageUsed = false;  // installed, waiting to be discarded
  // The properties of every call: no restart, and unattended no shutdown.
  char16_t m_properties[64] = {};
  // MAXDIR="<folder>", the properties and a repair's
  char16_t m_commandLine[kPathCapacity + sizeof m_properties / sizeof(char16_t) +
                         sizeof kRepairProperties / sizeof(char16_t)] = {};
};

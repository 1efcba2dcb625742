// One run of the installer, in every mode: the one place that knows the
// order of an install and judges its outcome. Whoever shows the run (the
// window, or nothing at all) observes it; the session knows nothing of how.
#pragma once

#include <atomic>
#include <cstdint>

#include "detect/detection.h"
#include "installer/cancel_gate.h"
#include "installer/command_line.h"
#include "installer/exit_code.h"
#include "installer/in_use.h"
#include "installer/install_observer.h"
#include "installer/install_operations.h"
#include "installer/operation_result.h"

// How a run ended: the one judgement that the screens, the log's last line
// and the exit code all read.
enum class Verdict : std::uint8_t {
  Left,           // the user left before anything ran
  UpToDate,       // this version or a newer one was installed already
  Installed,
  RestartNeeded,  // installed; Windows must restart to finish it
  Cancelled,      // the user cancelled, and the service rolled back
  Failed,         // failure holds the step and its code
  Removed,        // the product was removed (/uninstall)
};

// Whether the run did what was asked (a restart still to come included).
inline bool Succeeded(Verdict verdict) {
  return verdict == Verdict::Installed || verdict == Verdict::UpToDate || verdict == Verdict::RestartNeeded ||
         verdict == Verdict::Removed;
}

struct InstallOutcome {
  Operation operation = Operation::Install;
  InstallState found = InstallState::NotInstalled;  // before the steps
  InstallState state = InstallState::NotInstalled;  // at the end, freshly detected
  Verdict verdict = Verdict::Left;
  // The step that ended a failed run, with its Windows or service code.
  OperationResult failure;
  ExitCode exitCode = ExitCode::UserExit;
  // The line under the status, in a user's words: why a run failed, or
  // why Windows must restart; empty otherwise.
  char16_t reason[kFailureReasonCapacity] = {};

  bool Failed() const { return verdict == Verdict::Failed; }
};

class InstallSession {
 public:
  // What the steps came to, for the verdict.
  struct Facts {
    bool stepsRan = false;
    OperationResult last;  // the last step's result
    bool restartRequired = false;
    bool restartStarted = false;
  };

  // mode: Quiet registers no handler with the service; Passive and Quiet
  // let the service answer its own questions. operation: an install (which
  // /repair is when the installed version is not the package's own), a
  // repair or a removal.
  InstallSession(const InstallerServices& services, UiMode mode, Operation operation = Operation::Install);
  InstallSession(const InstallSession&) = delete;
  InstallSession& operator=(const InstallSession&) = delete;

  // Who is told of the run from now on; until then no one is.
  void Observe(InstallObserver& observer);

  // What is installed before anything runs, in the log as "Found". The
  // outcome is that of a run that leaves here.
  InstallState Begin();

  // On the thread that will call Run, before the folder is known: loads
  // the service, and writes the package out, so that Run starts with the
  // service at once; stop ends the write early. Run takes the package, or
  // deletes it when nothing is to be installed; Discard deletes it when Run
  // will not be called.
  void LoadService() { m_operations.LoadService(); }
  void PrepareAhead(const std::atomic<bool>* stop) { m_operations.WritePackageAhead(stop); }
  void Discard() { m_operations.DiscardPackage(); }

  // Detects again and runs the steps that state needs: finds the programs
  // that hold files the install replaces (the window's user decides what
  // then; an unattended run names them in the log and goes on), checks the
  // folder
  // and writes the package out (before anything is removed, so that an
  // upgrade that cannot go on leaves the older version), removes the
  // registered older version, installs. The verdict is judged by the
  // registration found at the end, with the restart any call asked for and
  // whether the user's cancel reached the service. The observer's Finished
  // gets the outcome before it is returned.
  const InstallOutcome& Run(const char16_t* folder);

  // From any thread: whether a cancel would be taken now, and the request
  // itself, logged with its answer (CancelGate).
  CancelRefusal CanCancel() const { return m_operations.Cancel().Check(); }
  CancelRefusal RequestCancel();

  // The programs found holding the plug-in, and those the service named.
  const HoldingPrograms& Holders() const { return m_holders; }

  // The outcome so far: Begin's, then Run's.
  const InstallOutcome& Outcome() const { return m_outcome; }

 private:

  // The steps for state, up to the first that fails.
  void RunSteps(InstallState state, const char16_t* folder, Facts& facts);
  // The steps of a removal (/uninstall).
  void RemoveSteps(Facts& facts);
  // Whether the installed version is the package's own (a repair's).
  bool PackageVersionInstalled() const;
  // Looks for programs that hold the plug-in until none does or the user
  // goes on (true), or the user goes back (false). Unattended: true.
  bool AgreeOnHolders();
  // The renames the restart will make in the plug-in's folder, in the log.
  void LogPendingRenames();
  void Judge(const Facts& facts);

  const InstallerServices& m_services;
  const UiMode m_mode;
  const Operation m_operation;
  InstallObserver m_nobody;
  InstallObserver* m_observer = &m_nobody;
  InstallOperations m_operations;
  InstallOutcome m_outcome;
  HoldingPrograms m_holders;
};

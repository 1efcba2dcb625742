// One run of the installer, in every mode: the one place that knows the
// order of an install and judges its outcome. Whoever shows the run (the
// window, or nothing at all) observes it; the session knows nothing of how.
#pragma once

#include "detect/detection.h"
#include "installer/command_line.h"
#include "installer/install_observer.h"
#include "installer/install_operations.h"
#include "installer/operation_result.h"

struct InstallOutcome {
  InstallState found = InstallState::NotInstalled;  // before the install
  InstallState state = InstallState::NotInstalled;  // at the end, freshly detected
  // The last step that ran, with its Windows or service code; empty when
  // none ran (the user left, or the product was up to date already).
  OperationResult last;
  bool stepsRan = false;
  // The user cancelled, and the service stopped and rolled back.
  bool cancelled = false;
  int exitCode = 0;
};

class InstallSession {
 public:
  // mode: Quiet registers no handler with the service; Passive and Quiet
  // let the service answer its own questions.
  InstallSession(const InstallerServices& services, UiMode mode);
  InstallSession(const InstallSession&) = delete;
  InstallSession& operator=(const InstallSession&) = delete;

  // Who is told of the run from now on; until then no one is.
  void Observe(InstallObserver& observer);

  // What is installed before anything runs, in the log as "Found". The
  // outcome is that of a run that leaves here.
  InstallState Begin();

  // On the thread that will call Run, before the folder is known: writes
  // the package out, so that Run starts with the service at once. Run takes
  // it, or deletes it when nothing is to be installed; Discard deletes it
  // when Run will not be called.
  void PrepareAhead() { m_operations.WritePackageAhead(); }
  void Discard() { m_operations.DiscardPackage(); }

  // Detects again and runs the steps that state needs: checks the folder
  // and writes the package out (before anything is removed, so that an
  // upgrade that cannot go on leaves the older version), removes the
  // registered older version, installs. Success is judged by the
  // registration found at the end, not by the service's codes. The
  // observer's Finished gets the outcome before it is returned.
  const InstallOutcome& Run(const char16_t* folder);

  // From any thread while Run runs: cancels the removal or the install at
  // the service's next message that allows it, and logs who asked. False,
  // and nothing is cancelled, once an upgrade has removed the older
  // version: the user must not end up without the product.
  bool RequestCancel();
  bool CancelAllowed() const { return m_operations.CancelAllowed(); }

  // The outcome so far: Begin's, then Run's.
  const InstallOutcome& Outcome() const { return m_outcome; }

 private:
  // The steps for state, up to the first that fails.
  void RunSteps(InstallState state, const char16_t* folder);

  const InstallerServices& m_services;
  InstallObserver m_nobody;
  InstallObserver* m_observer = &m_nobody;
  InstallOperations m_operations;
  InstallOutcome m_outcome;
};

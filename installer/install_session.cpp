#include "installer/install_session.h"

#include "core/text.h"
#include "installer/run_log.h"

namespace {

// The run's exit code for a failure: the service's own code when its call
// failed, a plain failure for a step of ours or a call that claimed success.
ExitCode FailureExitCode(const OperationResult& last) {
  if (!last.called) return ExitCode::InstallFailure;
  if (last.service.status == ServiceStatus::Busy) return ExitCode::AnotherInstall;
  if (last.service.ClaimsSuccess()) return ExitCode::InstallFailure;
  return PassedThrough(last.service);
}

}  // namespace

InstallSession::InstallSession(const InstallerServices& services, UiMode mode)
    : m_services(services), m_operations(services, m_nobody, mode) {}

void InstallSession::Observe(InstallObserver& observer) {
  m_observer = &observer;
  m_operations.ReportTo(observer);
}

InstallState InstallSession::Begin() {
  m_outcome = {};
  m_outcome.found = DetectInstallState(m_services.registry);
  m_outcome.state = m_outcome.found;
  Judge({});
  LogInstallState(m_services.log, u"Found", m_outcome.found);
  return m_outcome.found;
}

CancelRefusal InstallSession::RequestCancel() {
  const CancelRefusal refusal = m_operations.Cancel().Request();
  if (refusal == CancelRefusal::None) {
    LogLine(m_services.log, {u"The user asks to cancel the installation"});
  } else {
    LogLine(m_services.log, {u"The user asks to cancel the installation; refused: ", CancelRefusalText(refusal)});
  }
  return refusal;
}

void InstallSession::RunSteps(InstallState state, const char16_t* folder, Facts& facts) {
  if (state == InstallState::UpToDate) return;
  facts.stepsRan = true;
  auto step = [&facts](const OperationResult& result) {
    facts.last = result;
    if (!result.called) return;
    facts.restartRequired |= result.service.status == ServiceStatus::RestartRequired;
    facts.restartStarted |= result.service.status == ServiceStatus::RestartStarted;
  };
  step(m_operations.PreparePackage(folder != nullptr ? folder : u""));
  if (!facts.last.Succeeded()) return;
  if (state == InstallState::OlderInstalled) {
    m_observer->StageChanged(InstallStage::RemovingOlder);
    m_observer->Marquee(true);
    step(m_operations.RemovePreviousVersion());
    m_observer->Marquee(false);
    // What the removal was doing is over.
    if (facts.last.called) m_observer->ActionText(u"");
    if (!facts.last.Succeeded()) {
      m_operations.DiscardPackage();
      return;
    }
    // The older version is gone: the new one must land.
    if (facts.last.called && m_operations.Cancel().Close()) {
      LogLine(m_services.log, {u"The cancel came too late: the previous version has been removed, and the "
                               u"installation goes on"});
      m_observer->CancelDropped();
    }
  }
  m_observer->StageChanged(InstallStage::Installing);
  step(m_operations.InstallPackage());
}

void InstallSession::Judge(const Facts& facts) {
  InstallOutcome& outcome = m_outcome;
  outcome.failure = {};
  outcome.reason[0] = 0;
  if (!facts.stepsRan) {
    const bool upToDate = outcome.state == InstallState::UpToDate;
    outcome.verdict = upToDate ? Verdict::UpToDate : Verdict::Left;
    outcome.exitCode = upToDate ? ExitCode::Success : ExitCode::UserExit;
  } else if (outcome.state == InstallState::UpToDate) {
    // The registration decides success; a restart asked for by any call of
    // the run is still to come.
    outcome.verdict = facts.restartStarted || facts.restartRequired ? Verdict::RestartNeeded : Verdict::Installed;
    outcome.exitCode = facts.restartStarted    ? ExitCode::RestartStarted
                       : facts.restartRequired ? ExitCode::RestartRequired
                                               : ExitCode::Success;
  } else if (m_operations.Cancel().ReachedService() && facts.last.called &&
             (facts.last.service.status == ServiceStatus::UserExit ||
              facts.last.service.status == ServiceStatus::Busy)) {
    outcome.verdict = Verdict::Cancelled;
    outcome.exitCode = ExitCode::UserExit;
  } else {
    // Also a user exit that nobody asked for: a package's own action.
    outcome.verdict = Verdict::Failed;
    outcome.failure = facts.last;
    outcome.exitCode = FailureExitCode(facts.last);
    FailureReason(facts.last, outcome.reason);
  }
}

const InstallOutcome& InstallSession::Run(const char16_t* folder) {
  // Someone else may have installed or removed since Begin.
  m_outcome.found = DetectInstallState(m_services.registry);
  Facts facts;
  RunSteps(m_outcome.found, folder, facts);
  // A package written ahead for a product found up to date goes too.
  m_operations.DiscardPackage();
  m_outcome.state = DetectInstallState(m_services.registry);
  LogInstallState(m_services.log, u"At the end", m_outcome.state);
  Judge(facts);
  switch (m_outcome.verdict) {
    case Verdict::Cancelled:
      LogLine(m_services.log, {u"The installation was cancelled"});
      break;
    case Verdict::Failed:
      LogLine(m_services.log, {u"Installation failed: ", m_outcome.reason});
      break;
    case Verdict::RestartNeeded:
      LogLine(m_services.log, {u"Windows must restart to finish the installation"});
      break;
    default:
      break;
  }
  if (m_operations.Cancel().Requested() &&
      (m_outcome.verdict == Verdict::Installed || m_outcome.verdict == Verdict::RestartNeeded)) {
    LogLine(m_services.log, {u"The cancel came too late: the service had finished the installation"});
  }
  m_observer->Finished(m_outcome);
  return m_outcome;
}

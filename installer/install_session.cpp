#include "installer/install_session.h"

#include "installer/exit_code.h"
#include "installer/failure_reason.h"
#include "installer/run_log.h"

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
  m_outcome.exitCode = ExitCodeFor(m_outcome.state, m_outcome.last, false);
  LogInstallState(m_services.log, u"Found", m_outcome.found);
  return m_outcome.found;
}

void InstallSession::RunSteps(InstallState state, const char16_t* folder) {
  if (state == InstallState::UpToDate) return;
  m_outcome.stepsRan = true;
  m_outcome.last = m_operations.PreparePackage(folder != nullptr ? folder : u"");
  if (!m_outcome.last.Succeeded()) return;
  if (state == InstallState::OlderInstalled) {
    m_observer->StageChanged(InstallStage::RemovingOlder);
    m_observer->Marquee(true);
    m_outcome.last = m_operations.RemovePreviousVersion();
    m_observer->Marquee(false);
    if (!m_outcome.last.Succeeded()) {
      m_operations.DiscardPackage();
      return;
    }
    m_operations.ForbidCancel();
  }
  m_observer->StageChanged(InstallStage::Installing);
  m_outcome.last = m_operations.InstallPackage();
}

bool InstallSession::RequestCancel() {
  const bool taken = m_operations.RequestCancel();
  LogLine(m_services.log, {taken ? u"The user asks to cancel the installation"
                                 : u"The user asks to cancel the installation; refused, as the "
                                   u"previous version has been removed"});
  return taken;
}

const InstallOutcome& InstallSession::Run(const char16_t* folder) {
  // Someone else may have installed or removed since Begin.
  m_outcome.found = DetectInstallState(m_services.registry);
  m_outcome.last = {};
  m_outcome.stepsRan = false;
  RunSteps(m_outcome.found, folder);
  // A package written ahead for a product found up to date goes too.
  m_operations.DiscardPackage();
  m_outcome.state = DetectInstallState(m_services.registry);
  LogInstallState(m_services.log, u"At the end", m_outcome.state);
  m_outcome.exitCode = ExitCodeFor(m_outcome.state, m_outcome.last, m_outcome.stepsRan);
  m_outcome.cancelled = m_outcome.stepsRan && m_outcome.exitCode == kExitUserLeft;
  if (m_outcome.cancelled) LogLine(m_services.log, {u"The installation was cancelled"});
  if (IsFailureExitCode(m_outcome.exitCode)) {
    char16_t reason[kFailureReasonCapacity];
    LogLine(m_services.log, {u"Installation failed: ", FailureReason(m_outcome.last, reason)});
  }
  m_observer->Finished(m_outcome);
  return m_outcome;
}

#include "installer/install_session.h"

#include "core/text.h"
#include "detect/registry_access.h"
#include "detect/version_compare.h"
#include "installer/run_log.h"
#include "product/product_config.h"

namespace {

// The run's exit code for a failure: the service's own code when its call
// failed, a plain failure for a step of ours or a call that claimed success.
ExitCode FailureExitCode(const OperationResult& last) {
  if (!last.called) return ExitCode::InstallFailure;
  if (last.service.status == ServiceStatus::Busy) return ExitCode::AnotherInstall;
  if (last.service.ClaimsSuccess()) return ExitCode::InstallFailure;
  return PassedThrough(last.service);
}

// The folder the package recorded for the installed version.
OwnedText RecordedPluginFolder(RegistrySeam& registry) { return ReadProductValue(registry, u"Path"); }

// What the install will replace, as the machine knows it now.
class TargetGatherer final : public InUseSeam::Visitor {
 public:
  explicit TargetGatherer(InUseTargets& targets) : m_targets(targets) {}
  void File(const char16_t* path, const char16_t*) override { m_targets.AddFile(path); }

 private:
  InUseTargets& m_targets;
};

void GatherTargets(const InstallerServices& services, InUseTargets& targets) {
  if (const OwnedText folder = RecordedPluginFolder(services.registry)) {
    CopyText(targets.pluginFolder, kPathCapacity, folder.get());
  }
  if (const OwnedText host = ReadMachineString(services.registry, ProductConfig::HostKey, u"Installdir")) {
    CopyText(targets.hostFolder, kPathCapacity, host.get());
  }
  if (IsProductRegistered(services.registry)) {
    TargetGatherer gatherer(targets);
    services.inUse.ForEachComponentFile(ProductConfig::ProductCode, gatherer);
  }
}

void LogHolder(RunLog& log, const HoldingPrograms& holders, std::size_t i) {
  char16_t number[11];
  LogLine(log, {u"In use by: ", ProgramName(holders, i), u" (", holders[i].executable, u", process ",
                DecimalText(holders[i].processId, number), u")"});
}

// The pending renames that touch a folder, in the log.
class RenameLogger final : public InUseSeam::Visitor {
 public:
  RenameLogger(RunLog& log, const char16_t* folder) : m_log(log), m_folder(folder) {}
  void File(const char16_t* path, const char16_t* to) override {
    const char16_t* file = Plain(path);
    const char16_t* target = Plain(to);
    if (!PathIsIn(file, m_folder) && !PathIsIn(target, m_folder)) return;
    if (target[0] == 0) {
      LogLine(m_log, {u"Waits for the restart: deleting ", file});
    } else {
      LogLine(m_log, {u"Waits for the restart: ", target, u" from ", file});
    }
  }

 private:
  // Without the "\??\" of an NT path and the "!" that says "replace".
  static const char16_t* Plain(const char16_t* path) {
    if (path == nullptr) return u"";
    if (path[0] == u'!') ++path;
    if (path[0] == u'\\' && path[1] == u'?' && path[2] == u'?' && path[3] == u'\\') path += 4;
    return path;
  }

  RunLog& m_log;
  const char16_t* m_folder;
};

}  // namespace

InstallSession::InstallSession(const InstallerServices& services, UiMode mode, Operation operation)
    : m_services(services), m_mode(mode), m_operation(operation), m_operations(services, m_nobody, mode) {
  m_operations.KeepHolders(m_holders);
}

bool InstallSession::PackageVersionInstalled() const {
  const OwnedText installed = ReadProductValue(m_services.registry, u"Version");
  if (!installed) return false;
  const OwnedText package = DuplicateText(ProductConfig::PackageVersion);
  return package && CompareVersions(package.get(), installed.get()) == 0;
}

bool InstallSession::AgreeOnHolders() {
  InUseTargets targets;
  GatherTargets(m_services, targets);
  for (;;) {
    m_holders.Clear();
    FindHoldingPrograms(targets, m_services.inUse, m_holders);
    for (std::size_t i = 0; i < m_holders.Kept(); ++i) LogHolder(m_services.log, m_holders, i);
    // Nobody is there to close them: the install goes on, and a restart
    // finishes it. No program is ever closed for it.
    if (m_holders.Empty() || m_mode != UiMode::Full) return true;
    char16_t text[kInUseTextCapacity];
    const int answer = m_observer->Ask({QuestionKind::FilesInUse, InUseText(m_holders, text), kInUseBoxStyle, 0});
    if (answer == kAnswerTryAgain) continue;
    if (answer == kAnswerContinue) {
      LogLine(m_services.log, {u"The user goes on; a restart finishes the installation"});
      return true;
    }
    LogLine(m_services.log, {u"The user goes back to close them; nothing has changed"});
    return false;
  }
}

void InstallSession::LogPendingRenames() {
  const OwnedText folder = RecordedPluginFolder(m_services.registry);
  if (!folder) return;
  RenameLogger logger(m_services.log, folder.get());
  m_services.inUse.ForEachPendingRename(logger);
}

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

namespace {

void Step(InstallSession::Facts& facts, const OperationResult& result) {
  facts.last = result;
  if (!result.called) return;
  facts.restartRequired |= result.service.status == ServiceStatus::RestartRequired;
  facts.restartStarted |= result.service.status == ServiceStatus::RestartStarted;
}

}  // namespace

void InstallSession::RemoveSteps(Facts& facts) {
  facts.stepsRan = true;
  if (!IsProductRegistered(m_services.registry)) {
    facts.last = Failure(OperationStep::NotInstalled, 0);
    return;
  }
  if (!AgreeOnHolders()) {
    facts.stepsRan = false;
    return;
  }
  m_observer->StageChanged(InstallStage::Removing);
  Step(facts, m_operations.RemovePreviousVersion());
}

void InstallSession::RunSteps(InstallState state, const char16_t* folder, Facts& facts) {
  if (m_operation == Operation::Uninstall) {
    RemoveSteps(facts);
    return;
  }
  // A repair of the version the package carries; anything else installs.
  const bool repair = m_operation == Operation::Repair && state == InstallState::UpToDate && PackageVersionInstalled();
  if (state == InstallState::UpToDate && !repair) return;
  // Before anything changes; going back leaves the run as if it had not
  // started.
  if (!AgreeOnHolders()) return;
  facts.stepsRan = true;
  auto step = [&facts](const OperationResult& result) { Step(facts, result); };
  step(m_operations.PreparePackage(folder != nullptr ? folder : u"", repair));
  if (!facts.last.Succeeded()) return;
  if (state == InstallState::OlderInstalled) {
    m_observer->StageChanged(InstallStage::RemovingOlder);
    m_observer->Marquee(true);
    step(m_operations.RemovePreviousVersion());
    m_observer->Marquee(false);
    // What the removal was doing is over.
    if (facts.last.called) m_observer->ActionText(u"");
    if (!facts.last.Succeeded()) return;
    // The older version is gone: the new one must land.
    if (facts.last.called && m_operations.Cancel().Close()) {
      LogLine(m_services.log, {u"The cancel came too late: the previous version has been removed, and the "
                               u"installation goes on"});
      m_observer->CancelDropped();
    }
  }
  m_observer->StageChanged(repair ? InstallStage::Repairing : InstallStage::Installing);
  step(m_operations.InstallPackage());
}

void InstallSession::Judge(const Facts& facts) {
  InstallOutcome& outcome = m_outcome;
  outcome.operation = m_operation;
  outcome.failure = {};
  outcome.reason[0] = 0;
  const bool removal = m_operation == Operation::Uninstall;
  // The registration decides success: the product there at the end, or
  // gone after a removal.
  const bool done = removal ? facts.last.Succeeded() && !IsProductRegistered(m_services.registry)
                            : outcome.state == InstallState::UpToDate;
  if (!facts.stepsRan) {
    const bool upToDate = outcome.state == InstallState::UpToDate && !removal;
    outcome.verdict = upToDate ? Verdict::UpToDate : Verdict::Left;
    outcome.exitCode = upToDate ? ExitCode::Success : ExitCode::UserExit;
  } else if (done) {
    // A restart asked for by any call of the run is still to come.
    const bool restart = facts.restartStarted || facts.restartRequired;
    outcome.verdict = restart ? Verdict::RestartNeeded : removal ? Verdict::Removed : Verdict::Installed;
    outcome.exitCode = facts.restartStarted    ? ExitCode::RestartStarted
                       : facts.restartRequired ? ExitCode::RestartRequired
                                               : ExitCode::Success;
    if (restart) {
      // With its cause when a program was found holding the plug-in.
      const char16_t* what = removal ? u"Restart Windows to finish the removal" : u"Restart Windows to finish the installation";
      if (m_holders.Empty() ||
          !JoinText(outcome.reason, kFailureReasonCapacity,
                    {what, u": ", ProgramName(m_holders, 0), u" had the plug-in open."})) {
        JoinText(outcome.reason, kFailureReasonCapacity, {what, u"."});
      }
    }
  } else if (m_operations.Cancel().ReachedService() && facts.last.called &&
             (facts.last.service.status == ServiceStatus::UserExit ||
              facts.last.service.status == ServiceStatus::Busy)) {
    outcome.verdict = Verdict::Cancelled;
    outcome.exitCode = ExitCode::UserExit;
  } else {
    // Also a user exit that nobody asked for: a package's own action.
    outcome.verdict = Verdict::Failed;
    outcome.failure = facts.last;
    outcome.exitCode = facts.last.failedStep == OperationStep::NotInstalled ? ExitCode::UnknownProduct
                                                                             : FailureExitCode(facts.last);
    FailureReason(facts.last, outcome.reason);
  }
}

const InstallOutcome& InstallSession::Run(const char16_t* folder) {
  // Someone else may have installed or removed since Begin.
  m_outcome.found = DetectInstallState(m_services.registry);
  m_holders.Clear();
  Facts facts;
  RunSteps(m_outcome.found, folder, facts);
  m_outcome.state = DetectInstallState(m_services.registry);
  LogInstallState(m_services.log, u"At the end", m_outcome.state);
  Judge(facts);
  const bool removal = m_operation == Operation::Uninstall;
  switch (m_outcome.verdict) {
    case Verdict::Cancelled:
      LogLine(m_services.log, {removal ? u"The removal was cancelled" : u"The installation was cancelled"});
      break;
    case Verdict::Failed:
      LogLine(m_services.log, {removal ? u"Removal failed: " : u"Installation failed: ", m_outcome.reason});
      break;
    case Verdict::Removed:
      LogLine(m_services.log, {u"The plug-in is removed"});
      break;
    case Verdict::RestartNeeded:
      LogLine(m_services.log, {m_outcome.reason});
      LogPendingRenames();
      break;
    default:
      break;
  }
  if (m_operations.Cancel().Requested() && Succeeded(m_outcome.verdict)) {
    LogLine(m_services.log, {u"The cancel came too late: the service had finished"});
  }
  m_observer->Finished(m_outcome);
  // The package goes once the result is shown (deleting a large one takes
  // a while), also one written ahead for a product found up to date. A
  // package left behind is the temp folder's to clear; the outcome stands
  // either way. The run ends, and the process with it, only after this.
  m_operations.DiscardPackage();
  return m_outcome;
}

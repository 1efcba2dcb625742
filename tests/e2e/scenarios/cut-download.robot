# A download cut short: the copy's package is attached, and the signature
# and the second half of the package are gone. The install and /extract
# each end with 1603 and the line that says so before anything changes;
# nothing of theirs is left but the failed install's log.
#! installer: cut current.msi
launch ${INSTALLER} -- /quiet
wait-exit-unseen 1603 120
expect-no-reg ${UNINSTALL_KEY}
expect-new-temp-file ${LOG_PREFIX} "Installation failed: This installer is incomplete or damaged; download it again (error 38)." "Exit code 1603"
expect-temp-unchanged
launch ${INSTALLER} -- /extract C:\Deploy /log C:\cut.log
wait-exit-unseen 1603 120
expect-no-file C:\Deploy
expect-file-contains C:\cut.log "Extraction failed: This installer is incomplete or damaged; download it again (error 38)." "Exit code 1603"
expect-temp-unchanged

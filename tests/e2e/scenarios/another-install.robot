# Another installation holds the service: the installer tries again, then
# says so (a box when someone is there) and exits with 1618, changing
# nothing.
hold-mutex Global\_MSIExecute
launch ${INSTALLER} -- /quiet
wait-exit-unseen 1618 120
expect-no-reg ${UNINSTALL_KEY}
expect-new-temp-file ${LOG_PREFIX} "another installation is running" "Installation failed: Another installation is in progress." "Exit code 1618"
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-box "Installation in Progress" 120
expect-box-text "Another installation is in progress."
answer-box IDOK
wait-text STATUS_TEXT "Installation Failed" 30
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT ACTION_TEXT FINISHED LOG_LINK
expect-text ACTION_TEXT "Another installation is in progress. Wait until it has finished, then run this installer again."
expect-text-fits ACTION_TEXT "MS Shell Dlg" 8
screenshot finished-failure-another-install
click FINISHED
expect-process-exit 1618
release-mutex
expect-no-reg ${UNINSTALL_KEY}
expect-new-temp-file ${LOG_PREFIX} "Exit code 1618"
expect-temp-unchanged

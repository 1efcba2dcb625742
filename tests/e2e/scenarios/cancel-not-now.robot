# While the service hides its Cancel, a cancel is refused at once with its
# reason; once the service shows it again, a cancel is asked for and taken,
# and says so until the run ends cancelled.
#! installer: slow.msi
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-reg Software\KelvaneTest SlowActionRunning 1 60
set-reg Software\KelvaneTest SlowActionCancelButton 0
wait-reg Software\KelvaneTest SlowActionCancelButtonSent 0 60
key escape
wait-box "Cancel Installation"
expect-box-text "The installation cannot be cancelled at this step."
screenshot cancel-not-now
answer-box IDOK
expect-text STATUS_TEXT ${TITLE}
set-reg Software\KelvaneTest SlowActionCancelButton 1
wait-reg Software\KelvaneTest SlowActionCancelButtonSent 1 60
key escape
wait-box "Cancel Installation"
expect-box-text "Do you want to cancel the installation?"
answer-box IDYES
wait-text STATUS_TEXT "Cancelling..." 30
set-reg Software\KelvaneTest SlowActionGo 1
wait-text STATUS_TEXT "Installation Cancelled" 120
click FINISHED
expect-process-exit 1602
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-temp-unchanged

# A fresh install cancelled while the service works. The window stays
# alive and can be moved; Escape asks first, with No the default; on Yes the
# status says so until the service has rolled back, and the run ends
# cancelled: nothing installed, the temp folder clean, exit code 1602.
#! installer: slow.msi
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-reg Software\KelvaneTest SlowActionRunning 1 60
expect-disabled FINISHED
move-window 40 30
expect-pixel -8 8 0x00FFFFFF
key escape
wait-box "Cancel Installation"
expect-box-text "Do you want to cancel the installation?"
screenshot cancel-question
key enter                                          # No, the default
wait-gone
expect-text STATUS_TEXT ${TITLE}
key escape
wait-box "Cancel Installation"
answer-box IDYES
wait-text STATUS_TEXT "Cancelling..." 30
expect-disabled FINISHED
screenshot cancelling
set-reg Software\KelvaneTest SlowActionGo 1
wait-text STATUS_TEXT "Installation Cancelled" 120
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT FINISHED LOG_LINK
expect-enabled FINISHED
screenshot finished-cancelled
click FINISHED
expect-process-exit 1602
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-temp-unchanged

# An upgrade is not cancelled once the older version is gone, or the user
# would be left without the plug-in: Escape then says so, and the new
# version is installed.
#! needs: older.msi
#! installer: slow.msi
run 120 msiexec /i ${PACKAGES}\older.msi /qn
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
# The new version's action holds its install: the older one is gone.
wait-reg Software\KelvaneTest SlowActionRunning 1 120
expect-text STATUS_TEXT ${TITLE}
key escape
wait-box "Cancel Installation"
expect-box-text "The previous version has been removed; the installation cannot be cancelled now."
screenshot cancel-refused
answer-box IDOK
# Asked again, it is answered again.
key escape
wait-box "Cancel Installation"
expect-box-text "The previous version has been removed; the installation cannot be cancelled now."
answer-box IDOK
set-reg Software\KelvaneTest SlowActionGo 1
wait-text STATUS_TEXT "Installation Successful" 180
click FINISHED
expect-process-exit 0
expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}

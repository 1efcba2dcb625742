# /passive over an older version: the window shows the progress, needs no
# click, and closes itself once the upgrade is done.
#! needs: older.msi
run 120 msiexec /i ${PACKAGES}\older.msi /qn
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
launch ${INSTALLER} -- /passive
wait-window ${TITLE}
expect-process-exit 0 240
expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
expect-temp-unchanged

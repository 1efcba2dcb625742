# TMP names a folder that does not exist: the package cannot be written out,
# so nothing is installed, the user is told why, and nothing is created.
launch ${INSTALLER} "TMP=C:\No Such Temp"
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Failed" 120
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT ACTION_TEXT FINISHED
expect-text ACTION_TEXT "The installation package could not be written to the temp folder (error 3)."
expect-text-fits ACTION_TEXT "MS Shell Dlg" 8
screenshot finished-failure-temp-folder
click FINISHED
expect-process-exit 1603
expect-no-file "C:\No Such Temp"
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-temp-unchanged

# TMP names a folder that does not exist: the package cannot be written out,
# so nothing is installed, the user is told, and nothing is created.
launch ${INSTALLER} "TMP=C:\No Such Temp"
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Failed" 120
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT FINISHED
click FINISHED
expect-process-exit 1603
expect-no-file "C:\No Such Temp"
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-temp-unchanged

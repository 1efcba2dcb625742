# TMP names a folder that does not exist: the package cannot be written out,
# so nothing is installed, the user is told, and nothing is created.
launch ${INSTALLER} "TMP=C:\No Such Temp"
wait-window ${TITLE}
click 1001
click 1000
wait-text 1014 "Installation Failed" 120
expect-only-visible -1 1014 1015
click 1015
expect-process-exit any
expect-no-file "C:\No Such Temp"
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-temp-unchanged

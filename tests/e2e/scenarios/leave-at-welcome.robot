# Escape, then the close box, at Welcome: the process ends, nothing changes;
# the package written out once the terms were accepted is gone too.
launch ${INSTALLER}
wait-window ${TITLE}
key escape
expect-process-exit 1602
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
expect-enabled CONTINUE
close-box
expect-process-exit 1602
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-no-file "${ProgramFiles}\Autodesk"
expect-temp-unchanged

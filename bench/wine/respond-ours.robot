# The window while the service copies 128 MiB: pinged and repainted every
# 10 ms from the click on CONTINUE to "Installation Successful".
launch ${BUSY_INSTALLER}
wait-window ${TITLE}
click AGREE
expect-enabled CONTINUE
click CONTINUE
respond-until STATUS_TEXT "Installation Successful" 600
click FINISHED
expect-process-exit any

# The least a window does for an upgrade (window_floor): the removal and the
# install from CONTINUE, and the status at their end; timed as ours is.
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
launch ${WINDOW_FLOOR} -- upgrade ${PACKAGE}
wait-window ${INSTALLER_NAME}
poll-interval 2
click CONTINUE
wait-text STATUS_TEXT "Installation Successful" 180
report upgrade click
key escape
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version ${VERSION}

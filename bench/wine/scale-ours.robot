# An install at scale: from the click on CONTINUE to "Installation
# Successful", and from the process start; then the installer's peak memory.
# The package is written out from the start on, while the user reads.
poll-interval 5
launch ${SCALE_INSTALLER}
wait-window ${TITLE}
click AGREE
expect-enabled CONTINUE
click CONTINUE
# While it waits, the robot asks the window for its status at a pace that
# fits the package's size: a question every 5 ms costs the window's process
# (and the install in it) about 5 % at 128 MiB, more than the pace's own
# error of at most one interval.
poll-interval ${SCALE_POLL_MS}
wait-text STATUS_TEXT "Installation Successful" 900
report scale click
report scale_start launch
report-memory scale_memory
click FINISHED
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version ${VERSION}

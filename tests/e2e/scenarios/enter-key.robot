# Enter presses the screen's primary button and nothing else: at Welcome
# it does nothing while CONTINUE is disabled and installs once it is
# enabled; at Finished it ends the installer.
launch ${INSTALLER}
wait-window ${TITLE}
key enter
# The click shows that the Enter before it was handled, and left the window.
click AGREE
expect-check AGREE 1
expect-visible CONTINUE AGREE FOLDER
expect-enabled CONTINUE
# The press starts the install; the window takes input all along.
key enter
wait-text STATUS_TEXT "Installation Successful" 180
expect-visible FINISHED
expect-enabled FINISHED
expect-reg ${PRODUCT_KEY} Version ${VERSION}
key enter
expect-process-exit 0

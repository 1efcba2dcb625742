# An install with the keyboard alone: the accept box has the first focus,
# Tab goes through the controls in the order they stand on the screen,
# Space ticks the box, Enter opens the terms, closes them and installs.
# Each control met on the way has a name that a screen reader can say.
launch ${INSTALLER}
wait-window ${TITLE}
expect-accessible-name FOLDER "Installation Folder"
expect-accessible-name CONFIGURE CONFIGURE
expect-accessible-name AGREE "I Agree to the Terms of Use"
expect-accessible-name TERMS_LINK "Terms of Use"
expect-accessible-name CONTINUE CONTINUE

expect-focus AGREE                                 # the window's first choice
key tab
expect-focus TERMS_LINK
key tab
expect-focus FOLDER                                # round the tab order
key tab
expect-focus CONFIGURE
key tab
expect-focus AGREE
key space
expect-check AGREE 1
expect-enabled CONTINUE
key tab
expect-focus TERMS_LINK
key enter
wait-window EULA
expect-focus IDOK
key enter
wait-gone
expect-focus TERMS_LINK
key tab
expect-focus CONTINUE
key enter
wait-text STATUS_TEXT "Installation Successful" 180
expect-focus FINISHED
expect-accessible-name FINISHED FINISHED
key enter
expect-process-exit 0
expect-reg ${PRODUCT_KEY} Version ${VERSION}

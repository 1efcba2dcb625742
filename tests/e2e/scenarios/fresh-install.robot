# Nothing installed: the Welcome screen, the accept box that alone enables
# CONTINUE, the install with its progress, and FINISHED ending the process.
launch ${INSTALLER}
wait-window ${TITLE}
expect-exstyle-has 0x00040008                      # topmost, with a taskbar button

# Welcome: the pictures, status, accept box, its label and link, the
# folder with CONFIGURE, and CONTINUE, disabled.
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT AGREE AGREE_LABEL TERMS_LINK FOLDER CONFIGURE CONTINUE
expect-enabled STATUS_TEXT AGREE AGREE_LABEL TERMS_LINK FOLDER CONFIGURE
expect-disabled CONTINUE
expect-check AGREE 0
expect-text STATUS_TEXT ${TITLE}
expect-text FOLDER "${ProgramFiles}\Autodesk\3ds Max Design 2013\"
expect-pixel -8 8 0x00FFFFFF                       # background: top right,
expect-pixel 300 60 0x00FFFFFF                     # beside the picture,
expect-pixel -40 240 0x00FFFFFF                    # between the controls,
expect-pixel 200 -20 0x00FFFFFF                    # below the separator
expect-colour-in STATUS_TEXT 0x00672300            # dark blue text
expect-colour-in AGREE_LABEL 0x00672300
screenshot welcome-fresh

# CONTINUE is dead until the box is ticked. The tick after it proves that
# the click on CONTINUE was handled, and did nothing.
click CONTINUE disabled
click AGREE
expect-check AGREE 1
expect-enabled CONTINUE
expect-visible AGREE FOLDER
click AGREE
expect-check AGREE 0
expect-disabled CONTINUE
click AGREE
expect-enabled CONTINUE

click CONTINUE
# Installing: held still once the service reports its first action.
wait-text-not ACTION_TEXT "" 30 freeze
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT PROGRESS ACTION_TEXT FINISHED
expect-disabled FINISHED
expect-text STATUS_TEXT ${TITLE}
screenshot installing
thaw
wait-text STATUS_TEXT "Installation Successful" 180
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT PROGRESS ACTION_TEXT FINISHED
expect-enabled FINISHED
expect-progress 0 100 100
expect-text ACTION_TEXT ""
expect-pixel -8 8 0x00FFFFFF
screenshot finished-success
click FINISHED
expect-process-exit 0

expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-reg ${PRODUCT_KEY} Description ${TITLE}
expect-reg ${PRODUCT_KEY} Path "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\"
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
expect-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\Zephra.dll"
expect-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\readme.txt"
expect-temp-unchanged

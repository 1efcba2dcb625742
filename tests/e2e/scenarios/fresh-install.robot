# Nothing installed: the Welcome screen, the accept box that alone enables
# CONTINUE, the install with its progress, and FINISHED ending the process.
#! arch: win64 win32
launch ${INSTALLER}
wait-window ${TITLE}
expect-exstyle-has 0x00040008                      # topmost, with a taskbar button

# Welcome: the pictures (-1), status, accept box, its label and link, the
# folder with CONFIGURE, and CONTINUE, disabled.
expect-only-visible -1 1014 1001 1007 1002 1004 1003 1000
expect-enabled 1014 1001 1007 1002 1004 1003
expect-disabled 1000
expect-check 1001 0
expect-text 1014 ${TITLE}
expect-text 1004 "${ProgramFiles}\Autodesk\3ds Max Design 2013\"
expect-pixel -8 8 0x00FFFFFF                       # background: top right,
expect-pixel 300 60 0x00FFFFFF                     # beside the picture,
expect-pixel -40 240 0x00FFFFFF                    # between the controls,
expect-pixel 200 -20 0x00FFFFFF                    # below the separator
expect-colour-in 1014 0x00672300                   # dark blue text
expect-colour-in 1007 0x00672300
screenshot welcome-fresh

# CONTINUE is dead until the box is ticked. The tick after it proves that
# the click on CONTINUE was handled, and did nothing.
click 1000
click 1001
expect-check 1001 1
expect-enabled 1000
expect-visible 1001 1004
click 1001
expect-check 1001 0
expect-disabled 1000
click 1001
expect-enabled 1000

click 1000
# Installing: held still once the service reports its first action.
wait-text-not 1013 "" 30 freeze
expect-only-visible -1 1014 1011 1013 1015
expect-disabled 1015
expect-text 1014 ${TITLE}
screenshot installing
thaw
wait-text 1014 "Installation Successful" 180
expect-only-visible -1 1014 1011 1013 1015
expect-enabled 1015
expect-progress 0 100 100
expect-text 1013 ""
expect-pixel -8 8 0x00FFFFFF
screenshot finished-success
click 1015
expect-process-exit any

expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-reg ${PRODUCT_KEY} Description ${TITLE}
expect-reg ${PRODUCT_KEY} Path "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\"
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
expect-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\Zephra.dll"
expect-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\readme.txt"
expect-temp-unchanged

# A folder typed by hand is the one that the package gets as MAXDIR.
launch ${INSTALLER}
wait-window ${TITLE}
type FOLDER "C:\Typed Host\3ds Max"
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Successful" 180
click FINISHED
expect-process-exit 0
expect-reg ${PRODUCT_KEY} Path "C:\Typed Host\3ds Max\plugins\"
expect-file "C:\Typed Host\3ds Max\plugins\Zephra.dll"
expect-no-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins"
expect-temp-unchanged

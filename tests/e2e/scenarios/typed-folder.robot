# A folder typed by hand is the one that the package gets as MAXDIR.
launch ${INSTALLER}
wait-window ${TITLE}
type 1004 "C:\Typed Host\3ds Max"
click 1001
click 1000
wait-text 1014 "Installation Successful" 180
click 1015
expect-process-exit any
expect-reg ${PRODUCT_KEY} Path "C:\Typed Host\3ds Max\plugins\"
expect-file "C:\Typed Host\3ds Max\plugins\Zephra.dll"
expect-no-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins"
expect-temp-unchanged

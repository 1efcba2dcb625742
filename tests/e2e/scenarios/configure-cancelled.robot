# CONFIGURE opens the folder browser; cancelling it keeps what was typed.
launch ${INSTALLER}
wait-window ${TITLE}
type 1004 "C:\Typed Before Browsing"
click 1003
wait-folder-browser
expect-in-front
click 2
wait-gone
expect-text 1004 "C:\Typed Before Browsing"
expect-only-visible -1 1014 1001 1007 1002 1004 1003 1000
key escape
expect-process-exit any
expect-no-reg ${PRODUCT_KEY}

# The terms open from the link, read-only and from the top each time, and
# close by CLOSE, Escape and the close box; the main window is as it was.
launch ${INSTALLER}
wait-window ${TITLE}
click 1001
type 1004 "C:\Kept Folder"

click-link 1002
wait-window EULA
expect-in-front
expect-focus 1                                     # CLOSE
expect-style-has 1010 0x00200800                   # read-only, with a scroll bar
expect-text-length 1010 >= 1000
remember-text-length 1010 whole
expect-first-line 1010 0
expect-pixel 4 4 0x00FFFFFF
screenshot terms
click 1
wait-gone
expect-check 1001 1
expect-enabled 1000
expect-text 1004 "C:\Kept Folder"
expect-only-visible -1 1014 1001 1007 1002 1004 1003 1000

click-link 1002
wait-window EULA
expect-text-length 1010 = whole
expect-first-line 1010 0
key escape
wait-gone
expect-check 1001 1
expect-text 1004 "C:\Kept Folder"

click-link 1002
wait-window EULA
expect-text-length 1010 = whole
close-box
wait-gone
expect-check 1001 1
expect-enabled 1000
expect-text 1004 "C:\Kept Folder"
expect-only-visible -1 1014 1001 1007 1002 1004 1003 1000

key escape
expect-process-exit any
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}

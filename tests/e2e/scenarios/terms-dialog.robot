# The terms open from the link, read-only and from the top each time, and
# close by CLOSE, Escape and the close box; the main window is as it was.
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
type FOLDER "C:\Kept Folder"

click-link TERMS_LINK
wait-window EULA
expect-in-front
expect-focus IDOK                                  # CLOSE
expect-style-has TERMS_TEXT 0x00200800             # read-only, with a scroll bar
expect-text-length TERMS_TEXT >= 1000
remember-text-length TERMS_TEXT whole
expect-first-line TERMS_TEXT 0
expect-pixel 4 4 0x00FFFFFF
screenshot terms
click IDOK
wait-gone
expect-check AGREE 1
expect-enabled CONTINUE
expect-text FOLDER "C:\Kept Folder"
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT AGREE AGREE_LABEL TERMS_LINK FOLDER CONFIGURE CONTINUE

click-link TERMS_LINK
wait-window EULA
expect-text-length TERMS_TEXT = whole
expect-first-line TERMS_TEXT 0
key escape
wait-gone
expect-check AGREE 1
expect-text FOLDER "C:\Kept Folder"

click-link TERMS_LINK
wait-window EULA
expect-text-length TERMS_TEXT = whole
close-box
wait-gone
expect-check AGREE 1
expect-enabled CONTINUE
expect-text FOLDER "C:\Kept Folder"
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT AGREE AGREE_LABEL TERMS_LINK FOLDER CONFIGURE CONTINUE

key escape
expect-process-exit any
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}

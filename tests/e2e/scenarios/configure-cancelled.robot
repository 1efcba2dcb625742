# CONFIGURE opens the folder browser; cancelling it keeps what was typed.
launch ${INSTALLER}
wait-window ${TITLE}
type FOLDER "C:\Typed Before Browsing"
click CONFIGURE
wait-folder-browser
expect-in-front
click IDCANCEL
wait-gone
expect-text FOLDER "C:\Typed Before Browsing"
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT AGREE AGREE_LABEL TERMS_LINK FOLDER CONFIGURE CONTINUE
key escape
expect-process-exit any
expect-no-reg ${PRODUCT_KEY}

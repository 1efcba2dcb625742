# The window at 100 %, 150 % and 200 %: laid out by the template's dialog
# units with Windows' font (Tahoma 8), which at 96 dpi gives 6 by 13 pixels
# per 4 by 8 units, and showing the pictures drawn for the dpi: a picture
# control or button takes its picture's size, which "picture" checks to the
# pixel. Numbers are pixels at 96 dpi; the robot scales them to the screen's.
#! dpi: 96 144 192
launch ${INSTALLER}
wait-window ${TITLE}
expect-client-size 495 374
expect-rect SIDE_BANNER 0 0 166 314
expect-above SIDE_BANNER SEPARATOR                 # the banner fills its place, and no more
expect-rect SEPARATOR 0 314 494 1 picture
expect-rect STATUS_TEXT 185 109 196 34
expect-rect FOLDER 182 148 231 23
expect-rect CONFIGURE 417 148 22 20 picture
expect-rect AGREE 227 262 15 16
expect-text-fits AGREE_LABEL "MS Shell Dlg" 8     # "the" does not wrap out of the label
expect-focus AGREE                                 # the folder is read from its start
expect-selection FOLDER 0 0
expect-first-line FOLDER 0
expect-rect CONTINUE 404 330 72 22 picture
screenshot at-dpi-welcome

click-link TERMS_LINK
wait-window EULA
expect-in-front
expect-rect IDOK 191 296 100 35 picture
screenshot at-dpi-terms
click IDOK
wait-gone

click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Successful" 180
expect-rect FINISHED 404 330 72 22 picture
screenshot at-dpi-finished
click FINISHED
expect-process-exit 0
expect-reg ${PRODUCT_KEY} Version ${VERSION}

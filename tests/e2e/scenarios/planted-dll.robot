# A DLL named like the rich edit library, planted beside the installer in the
# downloads folder, is not loaded when the terms need the rich edit control.
# Wine maps its own built-in library in place of a file found by the search
# unless told to prefer files, as Windows does: hence "n,b". Even without it,
# Wine names the module by the path the search found, which
# expect-no-module-in sees.
#! wine-dll-overrides: riched20=n,b
copy ${PLANTED} ${DOWNLOADS}\riched20.dll
launch ${INSTALLER}
wait-window ${TITLE}
click-link TERMS_LINK
wait-window EULA 10
expect-text-length TERMS_TEXT >= 1000              # the system's rich edit shows the terms
expect-no-module-in ${DOWNLOADS}
expect-no-file ${DOWNLOADS}\riched20-was-loaded.txt
click IDOK
wait-gone
key escape
expect-process-exit any
expect-no-file ${DOWNLOADS}\riched20-was-loaded.txt

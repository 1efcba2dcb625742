# A DLL named like the installer service's client library, planted beside
# the installer in the downloads folder, is never loaded: the installer does
# not import it, and binds it from the system folder when it installs.
# "n,b" makes Wine prefer a file it finds over its built-in library, as
# Windows would (see planted-dll).
#! wine-dll-overrides: msi=n,b
copy ${PLANTED} ${DOWNLOADS}\msi.dll
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Successful" 180
expect-no-module-in ${DOWNLOADS}
click FINISHED
expect-process-exit any
expect-no-file ${DOWNLOADS}\msi-was-loaded.txt
expect-reg ${PRODUCT_KEY} Version ${VERSION}

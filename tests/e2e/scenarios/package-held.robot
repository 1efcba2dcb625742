# While the service installs, nobody else can write, rename or delete the
# package it was given: the installer holds it open from the write on.
#! needs: probe_package.exe
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-text-not ACTION_TEXT "" 60 freeze
run 30 ${PACKAGES}\probe_package.exe
thaw
wait-text STATUS_TEXT "Installation Successful" 180
click FINISHED
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-temp-unchanged

# While the service installs, nobody else can write, rename or delete the
# package it was given: the installer holds it open from the write on. The
# package's own action holds the install until the robot lets it go.
#! needs: probe_package.exe
#! installer: slow.msi
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-reg Software\KelvaneTest SlowActionRunning 1 60
run 30 ${PACKAGES}\probe_package.exe
set-reg Software\KelvaneTest SlowActionGo 1
wait-text STATUS_TEXT "Installation Successful" 180
click FINISHED
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-temp-unchanged
